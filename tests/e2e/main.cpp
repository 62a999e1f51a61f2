#include <gtest/gtest.h>
#include <QApplication>

// The end-to-end flows drive real windows: they need an application object. They run
// offscreen, also when the build lists the tests without the test environment.
int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
