#include "app/map/web_map_opener.h"

#include "core/map/web_map_address.h"

namespace kv820 {

bool OpenWebMap(WebMapOpener& opener, const QString& longitude, const QString& latitude) {
    const std::string address = webMapAddress(longitude.toStdString(), latitude.toStdString());
    // The coordinate texts go in as they are; TolerantMode keeps "+" as the separator.
    return opener.open(QUrl(QString::fromStdString(address), QUrl::TolerantMode));
}

}  // namespace kv820
