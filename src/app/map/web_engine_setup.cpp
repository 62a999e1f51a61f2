#include "app/map/web_engine_setup.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>

#include "app/map/tile_scheme_handler.h"

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace kv820 {

namespace {

constexpr const char* FlagsVariable = "QTWEBENGINE_CHROMIUM_FLAGS";

void addChromiumFlag(const QByteArray& flag) {
    QByteArray flags = qgetenv(FlagsVariable);
    if (flags.split(' ').contains(flag)) {
        return;
    }
    if (!flags.isEmpty()) {
        flags += ' ';
    }
    qputenv(FlagsVariable, flags + flag);
}

}  // namespace

void prepareWebEngineBeforeApplication() {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    registerTileScheme();
}

void prepareChromiumFlags() {
#if defined(Q_OS_UNIX)
    if (::geteuid() == 0) {
        addChromiumFlag("--no-sandbox");
    }
#endif
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        addChromiumFlag("--disable-gpu");
    }
}

}  // namespace kv820
