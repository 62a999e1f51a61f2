#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>

#include "app/records/search_records_page.h"
#include "core/store/database.h"
#include "core/store/schema.h"
#include "core/store/statement.h"
#include "support/qt/records_database.h"

namespace kv820 {

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void aMissingDatabaseShowsFourMessagesInOrderAndTheWindowStillOpens() {
        test::TempDir dir;
        test::AlertRecorder recorder;
        AppContext context(dir.file(DatabaseFileName));
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
        const std::string path = test::CreateRecordsDatabase(dir, {});
        Database(path).execute("INSERT INTO gpslog (imei) VALUES ('354612071234567')");
        test::AlertRecorder recorder;
        AppContext context(path);
        MainWindow window(context);
        QVERIFY(recorder.texts().isEmpty());
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
