#pragma once

#include <QStringList>
#include <QUrl>

#include "app/map/web_map_opener.h"

namespace kv820::test {

// Takes every web map address instead of starting a browser, and answers as told.
// Installed for its lifetime.
class RecordingWebMapOpener final : public WebMapOpener {
  public:
    RecordingWebMapOpener() { installWebMapOpener(this); }
    ~RecordingWebMapOpener() override { installWebMapOpener(nullptr); }
    bool open(const QUrl& address) override {
        addresses << address.toString();
        return accept;
    }
    QStringList addresses;
    bool accept = true;
};

}  // namespace kv820::test
