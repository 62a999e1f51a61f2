#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>

#include "app/common/app_context.h"
#include "app/modem/sms_command_page.h"
#include "app/records/search_records_page.h"
#include "app/shell/main_window.h"
#include "core/store/database.h"
#include "core/store/gpslog_store.h"
#include "core/store/schema.h"
#include "core/store/statement.h"
#include "support/qt/alert_recorder.h"
#include "support/qt/records_database.h"
#include "support/temp_dir.h"

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

    void startUpPurgesIncompleteRowsAndFillsTheUserLists() {
        test::TempDir dir;
        const std::string path = test::CreateRecordsDatabase(dir, {test::Truck});
        {
            Database db(path);
            db.execute("INSERT INTO gpslog (imei) VALUES ('354612071234567')");
            GpslogStore(db).append({"", "", "", "", "", "", "", "", "", "", "", "", ""});
        }
        test::AlertRecorder recorder;
        AppContext context(path);
        MainWindow window(context);
        QVERIFY(recorder.texts().isEmpty());
        Database db(path);
        Statement count(db, "SELECT count(*) FROM gpslog");
        count.step();
        QCOMPARE(count.integer(0), 1);
        QCOMPARE(window.searchPage()->userCombo()->currentText(), QStringLiteral("truck"));
        QCOMPARE(window.commandPage()->userCombo()->count(), 1);
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
