#include "support/qt/large_offscreen_screen.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QtGlobal>
#include <fstream>
#include <string>
#include <system_error>

namespace kv820::test {

LargeOffscreenScreen::LargeOffscreenScreen() {
    if (qgetenv("QT_QPA_PLATFORM") != "offscreen") {
        return;
    }
    config_ =
        std::filesystem::temp_directory_path() /
        ("kv820-offscreen-screen-" + std::to_string(QCoreApplication::applicationPid()) + ".json");
    std::ofstream(config_) << R"({"screens": [{"name": "large", "x": 0, "y": 0, "width": 1920,)"
                              R"( "height": 1200, "logicalDpi": 96, "logicalBaseDpi": 96,)"
                              R"( "dpr": 1}]})";
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QByteArray(config_.string().c_str()));
}

LargeOffscreenScreen::~LargeOffscreenScreen() {
    if (!config_.empty()) {
        std::error_code ignored;
        std::filesystem::remove(config_, ignored);
    }
}

}  // namespace kv820::test
