#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QMenuBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "app/shell/app_context.h"
#include "app/shell/main_status_bar.h"
#include "app/shell/main_window.h"
#include "core/store/database.h"
#include "core/store/gpslog_store.h"
#include "core/store/schema.h"
#include "core/store/statement.h"
#include "core/store/user_store.h"
#include "support/qt/alert_recorder.h"
#include "support/temp_dir.h"

namespace kv820 {

class MainWindowTest : public QObject {
    Q_OBJECT

  private:
    QToolButton* toolButtonFor(MainWindow& window, QAction* action) {
        auto* toolBar = window.findChild<QToolBar*>(QStringLiteral("mainToolBar"));
        return qobject_cast<QToolButton*>(toolBar->widgetForAction(action));
    }

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
        for (const auto& m : recorder.messages()) {
            QCOMPARE(m.caption, QStringLiteral("ERROR"));
            QCOMPARE(m.owner, &window);
        }
        QVERIFY(window.isVisible());
        QVERIFY(!QFile::exists(QString::fromStdString(dir.file(DatabaseFileName))));
    }

    void startUpPurgesIncompleteRowsAndFillsTheUserLists() {
        test::TempDir dir;
        const std::string path = dir.file(DatabaseFileName);
        CreateDatabaseFile(path);
        {
            Database db(path);
            UserStore(db).addOrUpdate({"truck", "0912345678", "354612071234567"});
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
        auto* searchUsers = window.findChild<QComboBox*>(QStringLiteral("searchUserNameCombo"));
        auto* smsUsers = window.findChild<QComboBox*>(QStringLiteral("smsUserNameCombo"));
        QCOMPARE(searchUsers->currentText(), QStringLiteral("truck"));
        QCOMPARE(smsUsers->count(), 1);
        QVERIFY(!smsUsers->isEnabled());
    }

    void exportIsEnabledOnlyOnTheSearchTab() {
        test::TempDir dir;
        test::AlertRecorder recorder;
        AppContext context(dir.file(DatabaseFileName));
        MainWindow window(context);
        window.show();
        auto* tab = window.findChild<QTabWidget*>(QStringLiteral("mainTab"));
        auto* exportAction = window.findChild<QAction*>(QStringLiteral("actionExportKml"));
        QToolButton* exportButton = toolButtonFor(window, exportAction);
        QCOMPARE(tab->currentIndex(), 0);
        QVERIFY(!exportAction->isEnabled());
        QVERIFY(!exportButton->isEnabled());
        tab->setCurrentIndex(1);
        QVERIFY(exportAction->isEnabled());
        QVERIFY(exportButton->isEnabled());
        tab->setCurrentIndex(2);
        QVERIFY(!exportAction->isEnabled());
        QVERIFY(!exportButton->isEnabled());
        QVERIFY(window.findChild<QWidget*>(QStringLiteral("smsCommandPage"))->isVisible());
        QVERIFY(!window.findChild<QWidget*>(QStringLiteral("smsTrackingPage"))->isVisible());
    }

    void theMapToggleStaysInStepBetweenMenuAndToolbar() {
        test::TempDir dir;
        test::AlertRecorder recorder;
        AppContext context(dir.file(DatabaseFileName));
        MainWindow window(context);
        window.show();
        QAction* map = window.findChild<QAction*>(QStringLiteral("actionViewTrackingPoints"));
        QToolButton* button = toolButtonFor(window, map);
        QVERIFY(!map->isChecked());
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(map->isChecked());
        QVERIFY(button->isChecked());
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!map->isChecked());
        QVERIFY(!button->isChecked());
        map->trigger();
        QVERIFY(button->isChecked());
    }

    void theMenuHoldsTheCommandsInOrder() {
        test::TempDir dir;
        test::AlertRecorder recorder;
        AppContext context(dir.file(DatabaseFileName));
        MainWindow window(context);
        QStringList menus;
        for (QAction* top : window.menuBar()->actions()) {
            QStringList entries;
            if (top->menu()) {
                for (QAction* entry : top->menu()->actions()) {
                    entries << (entry->isSeparator() ? QStringLiteral("-") : entry->text());
                }
            }
            menus << top->text() + ":" + entries.join(',');
        }
        QCOMPARE(menus, QStringList({"File:Exit", "Management:User Information,-,User Edit",
                                     "Device:KV820 Setup,Firmware Update",
                                     "Map:View Tracking Points,-,Export KML File", "About:"}));
        auto* toolBar = window.findChild<QToolBar*>(QStringLiteral("mainToolBar"));
        QStringList tips;
        for (QAction* action : toolBar->actions()) {
            tips << action->toolTip();
        }
        QCOMPARE(toolBar->iconSize(), QSize(40, 40));
        QCOMPARE(tips, QStringList({"User information", "Mark location in the map",
                                    "Export information to the KML format", "KV820 Setup",
                                    "Delete user"}));
        QCOMPARE(window.windowTitle(), QStringLiteral("KV820-Call Center V1.01"));
    }

    void theStatusBarClockAndPartsFollowTheRightEdge() {
        QCOMPARE(MainStatusBar::ClockText(QDateTime(QDate(2007, 5, 1), QTime(9, 8, 7))),
                 QStringLiteral("2007/05/01     09:08:07"));
        QCOMPARE(MainStatusBar::PartRightEdges(780), (std::array<int, 4>{670, 700, 730, 780}));
        QCOMPARE(MainStatusBar::PartRightEdges(200), (std::array<int, 4>{190, 220, 250, 300}));
    }

    void theListsLogBoxAndCommandTabKeepTheirPixelGeometry() {
        test::TempDir dir;
        test::AlertRecorder recorder;
        AppContext context(dir.file(DatabaseFileName));
        MainWindow window(context);
        window.resize(1200, 800);
        window.show();
        auto* tab = window.findChild<QTabWidget*>(QStringLiteral("mainTab"));
        auto geometryOf = [&](const char* name) {
            return window.findChild<QWidget*>(QString::fromLatin1(name))->geometry();
        };
        QCoreApplication::processEvents();
        QWidget* tracking = tab->widget(0);
        QCOMPARE(geometryOf("reportListView"),
                 QRect(0, 135, tracking->width(), tracking->height() - 135));
        tab->setCurrentIndex(1);
        QCoreApplication::processEvents();
        QWidget* search = tab->widget(1);
        QCOMPARE(geometryOf("searchResultList"),
                 QRect(0, 128, search->width(), search->height() - 128));
        tab->setCurrentIndex(2);
        QCoreApplication::processEvents();
        QWidget* command = tab->widget(2);
        QCOMPARE(geometryOf("modemLogBox"),
                 QRect(540, 20, command->width() - 555, command->height() - 35));
        QCOMPARE(geometryOf("commandTab"), QRect(5, 90, 520, command->height() - 95));
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::MainWindowTest)
#include "main_window_test.moc"
