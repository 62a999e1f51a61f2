#include "app/map/web_map_opener.h"

#include <QDesktopServices>

#include "core/map/web_map_address.h"

namespace kv820 {

namespace {

class DesktopWebMapOpener final : public WebMapOpener {
  public:
    bool open(const QUrl& address) override { return QDesktopServices::openUrl(address); }
};

DesktopWebMapOpener desktopOpener;
WebMapOpener* installed = nullptr;

}  // namespace

WebMapOpener& webMapOpener() {
    return installed ? *installed : desktopOpener;
}

void installWebMapOpener(WebMapOpener* replacement) {
    installed = replacement;
}

bool OpenWebMap(const QString& longitude, const QString& latitude) {
    const std::string address = WebMapAddress(longitude.toStdString(), latitude.toStdString());
    // The coordinate texts go in as they are; TolerantMode keeps "+" as the separator.
    return webMapOpener().open(QUrl(QString::fromStdString(address), QUrl::TolerantMode));
}

}  // namespace kv820
