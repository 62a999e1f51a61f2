#pragma once

#include <QString>
#include <QUrl>

namespace kv820 {

// Hands a web address to whatever shows it: the desktop's browser, unless a test
// installed something else. The result is the opener's own: true when it took the address.
class WebMapOpener {
  public:
    virtual ~WebMapOpener() = default;
    virtual bool open(const QUrl& address) = 0;
};

// The program's opener: the default browser unless a test installed another.
WebMapOpener& webMapOpener();
// Installs `replacement` (not owned); nullptr restores the browser.
void installWebMapOpener(WebMapOpener* replacement);

// Shows a point on the web map. Note the order: longitude first, as every caller holds
// the pair. True when the opener took the address; no message is shown here.
bool OpenWebMap(const QString& longitude, const QString& latitude);

}  // namespace kv820
