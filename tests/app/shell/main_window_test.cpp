#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <memory>

#include "app/commands/sms_command_page.h"
#include "app/records/search_records_page.h"
#include "core/store/database.h"
#include "core/store/schema.h"
#include "core/store/statement.h"
#include "support/qt/records_database.h"
#include "support/qt/settings_folder.h"

namespace kv820 {

class MainWindowTest : public QObject {
    Q_OBJECT

  private:
    static void press(int key, Qt::KeyboardModifiers modifiers) {
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus != nullptr);
        QTest::keyClick(focus, Qt::Key(key), modifiers);
    }
    static void activate(QWidget& window) {
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }

    test::TempDir settingsDir_;  // the windows' settings, never the user's own

  private slots:
    void initTestCase() {
        test::keepSettingsIn(QString::fromStdString(settingsDir_.file("settings")));
    }

    void ctrlTabSwitchesPagesFromTheToolbarAndFromThePageTabs() {
        test::WindowRig rig;
        MainWindow& window = rig.window;
        activate(window);
        QTabWidget* pages = window.mainTab();
        window.findChild<QToolBar*>(QStringLiteral("mainToolBar"))
            ->widgetForAction(window.userInformationAction())
            ->setFocus(Qt::TabFocusReason);
        press(Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(pages->currentIndex(), 1);
        press(Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(pages->currentIndex(), 2);

        QTest::mouseClick(pages->tabBar(), Qt::LeftButton, {},
                          pages->tabBar()->tabRect(1).center());
        QCOMPARE(pages->currentIndex(), 1);
        press(Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(pages->currentIndex(), 0);
        press(Qt::Key_PageDown, Qt::ControlModifier);
        press(Qt::Key_PageDown, Qt::ControlModifier);
        press(Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(pages->currentIndex(), 1);
    }

    void ctrlTabSwitchesTheCommandTabsWhenTheFocusIsInThem() {
        test::WindowRig rig;
        MainWindow& window = rig.window;
        activate(window);
        window.showPage(window.commandPage());
        QTabWidget* commands = window.commandPage()->commandTab();
        QTest::mouseClick(
            commands->currentWidget()->findChild<QWidget*>(QStringLiteral("returnPhoneEdit")),
            Qt::LeftButton);
        for (const int expected : {1, 0, 1}) {
            press(Qt::Key_Tab, Qt::ControlModifier);
            QCOMPARE(commands->currentIndex(), expected);
            QVERIFY(commands->isAncestorOf(QApplication::focusWidget()));
        }
        press(Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(commands->currentIndex(), 0);
        QCOMPARE(window.mainTab()->currentWidget()->isAncestorOf(commands), true);
    }

    void theWindowReturnsAsLeftAndOntoAScreen_data() {
        QTest::addColumn<QRect>("left");
        QTest::addColumn<bool>("maximized");
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("offScreen");
        QTest::newRow("normal") << QRect(120, 80, 700, 500) << false << 2 << false;
        QTest::newRow("maximised") << QRect(120, 80, 700, 500) << true << 1 << false;
        QTest::newRow("on a screen now gone") << QRect(4000, 3000, 700, 500) << false << 0 << true;
    }

    void theWindowReturnsAsLeftAndOntoAScreen() {
        QFETCH(QRect, left);
        QFETCH(bool, maximized);
        QFETCH(int, page);
        QFETCH(bool, offScreen);
        test::TempDir dir;
        AppContext context(test::createRecordsDatabase(dir, {test::Truck}));
        {
            MainWindow window(context);
            window.setGeometry(left);
            maximized ? window.showMaximized() : window.show();
            window.mainTab()->setCurrentIndex(page);
            window.close();
        }
        MainWindow window(context);
        window.showAsLeft();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.isMaximized(), maximized);
        QCOMPARE(window.mainTab()->currentIndex(), page);
        const QRect screen = window.screen()->availableGeometry();
        if (offScreen) {
            QVERIFY(screen.contains(window.geometry()));
            QCOMPARE(window.size(), left.size());
        } else {
            QCOMPARE(window.normalGeometry(), left);
        }
    }

    void aMissingDatabaseShowsFourMessagesInOrderAndTheWindowStillOpens() {
        test::TempDir dir;
        test::RecordingServices services;
        const test::AlertRecorder& recorder = services.alerts;
        AppContext context(dir.file(DatabaseFileName), services.app());
        MainWindow window(context);
        window.show();
        QCOMPARE(recorder.texts(),
                 QStringList({"Connection Database failure.", "Connection Gpslog Database failure.",
                              "Users Database open failure.", "Gpslog Database open failure."}));
        QCOMPARE(recorder.messages().back().owner, &window);
        QVERIFY(!QFile::exists(QString::fromStdString(dir.file(DatabaseFileName))));
    }

    // What makes a row incomplete is the store's; start-up only has to purge.
    void startUpPurgesIncompleteRows() {
        test::TempDir dir;
        const std::string path = test::createRecordsDatabase(dir, {});
        Database(path).execute("INSERT INTO gpslog (imei) VALUES ('354612071234567')");
        test::RecordingServices services;
        AppContext context(path, services.app());
        MainWindow window(context);
        QVERIFY(services.alerts.texts().isEmpty());
        Statement count(*context.gpslogConnection(), "SELECT count(*) FROM gpslog");
        count.step();
        QCOMPARE(count.integer(0), 0);
    }

    void theKeyboardReachesTheMenuTheToolbarAndTheUserList() {
        test::WindowRig rig;
        MainWindow& window = rig.window;
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));

        QTest::keyClick(&window, Qt::Key_F10);
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QCOMPARE(popup, window.menuBar()->actions().front()->menu());
        popup->close();

        window.mainTab()->setCurrentIndex(1);
        QTest::keyClick(&window, Qt::Key_U, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), window.searchPage()->userCombo());

        auto* toolBar = window.findChild<QToolBar*>(QStringLiteral("mainToolBar"));
        bool toolbarReached = false;
        for (int press = 0; press < 40 && !toolbarReached; ++press) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            toolbarReached = toolBar->isAncestorOf(QApplication::focusWidget());
        }
        QVERIFY(toolbarReached);
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::MainWindowTest)
#include "main_window_test.moc"
