#include <gtest/gtest.h>

#include <QApplication>

#include "app/map/web_engine_setup.h"

// The end-to-end tests drive the real serial link and real dialogs, which need a Qt
// application object. They never need a display, not even when the tests are listed.
int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    kv820::prepareWebEngineBeforeApplication();
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
