#include <gtest/gtest.h>

#include <QApplication>

// The end-to-end tests drive real windows and serial links: they need an application
// object. Offscreen unless told otherwise, also when the tests are only listed.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
