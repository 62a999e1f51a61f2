#include "support/qt/large_offscreen_screen.h"

#include <QByteArray>
#include <QtGlobal>
#include <filesystem>
#include <fstream>

namespace kv820::test {

void UseLargeOffscreenScreen() {
    if (qgetenv("QT_QPA_PLATFORM") != "offscreen") {
        return;
    }
    const std::filesystem::path config =
        std::filesystem::temp_directory_path() / "kv820-offscreen-large-screen.json";
    std::ofstream(config) << R"({"screens": [{"name": "large", "x": 0, "y": 0, "width": 1920,)"
                             R"( "height": 1200, "logicalDpi": 96, "logicalBaseDpi": 96,)"
                             R"( "dpr": 1}]})";
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QByteArray(config.string().c_str()));
}

}  // namespace kv820::test
