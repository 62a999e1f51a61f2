#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include "app/records/report_table_model.h"
#include "app/records/sos_alarm_window.h"
#include "app/records/sos_alarms.h"
#include "app/records/web_map_opener.h"
#include "core/store/database.h"
#include "core/store/gpslog_store.h"
#include "support/qt/alert_recorder.h"
#include "support/qt/records_database.h"
#include "support/temp_dir.h"

namespace kv820 {

namespace {

class CountingBeeper final : public AlarmBeeper {
  public:
    explicit CountingBeeper(int& beeps) : beeps_(beeps) {}
    void beep() override { ++beeps_; }

  private:
    int& beeps_;
};

class RecordingOpener final : public WebMapOpener {
  public:
    bool open(const QUrl& address) override {
        opened.push_back(address.toString());
        return succeeds;
    }
    QStringList opened;
    bool succeeds = true;
};

PositionReport Report(const std::string& user, const std::string& kind,
                      const std::string& latitude = "25.052057",
                      const std::string& longitude = "121.502057") {
    PositionReport report;
    report.imei = "356789012345678";
    report.userName = user;
    report.phone = "0912345678";
    report.kindText = kind;
    report.gpsDate = "2012/05/08";
    report.gpsTime = "07:59:59";
    report.latitude = latitude;
    report.longitude = longitude;
    return report;
}

}  // namespace

class SosAlarmWindowTest : public QObject {
    Q_OBJECT

  private:
    // Alarms over a parent window, beeping into `beeps` every 20 ms.
    struct Rig {
        QWidget owner;
        int beeps = 0;
        SosAlarms alarms{&owner};
        Rig() {
            alarms.setBeeper(std::make_unique<CountingBeeper>(beeps));
            alarms.setBeepInterval(20);
        }
        SosAlarmWindow* window() { return owner.findChild<SosAlarmWindow*>("sosAlarmWindow"); }
    };

  private slots:
    void onlySosReportsBeepAndTheBeeperRunsUntilEveryAlarmIsAcknowledged() {
        Rig rig;
        rig.alarms.raise(Report("Truck", "Period report"));
        QVERIFY(rig.window() == nullptr);
        QCOMPARE(rig.beeps, 0);
        rig.alarms.raise(Report("Truck", "SOS report"));
        QCOMPARE(rig.beeps, 1);  // at once
        rig.alarms.raise(Report("Van", "SOS report"));
        QVERIFY(!rig.window()->close());  // closing the window is no acknowledgement
        QTest::mouseClick(rig.window()->acknowledgeButton(), Qt::LeftButton);
        const int before = rig.beeps;
        QTRY_VERIFY(rig.beeps > before + 1);  // the second alarm still sounds
        QTest::mouseClick(rig.window()->acknowledgeButton(), Qt::LeftButton);
        QVERIFY(!rig.alarms.beeping());
    }

    void alarmsQueueAndAcknowledgingShowsTheNextOldest() {
        Rig rig;
        for (const char* user : {"Truck", "Van", "Bus"}) {
            rig.alarms.raise(Report(user, "SOS report"));
        }
        SosAlarmWindow* window = rig.window();
        QVERIFY(window->isVisible() && window->isWindow() && !window->isModal());
        QCOMPARE(window->userLabel()->text() + "|" + window->timeLabel()->text() + "|" +
                     window->positionLabel()->text() + "|" + window->waitingLabel()->text(),
                 QStringLiteral("Truck|2012/05/08-07:59:59|25.052057, 121.502057|"
                                "2 more SOS alarm(s) waiting."));
        QTest::mouseClick(window->acknowledgeButton(), Qt::LeftButton);
        QCOMPARE(window->userLabel()->text(), QStringLiteral("Van"));
        QTest::mouseClick(window->acknowledgeButton(), Qt::LeftButton);
        QCOMPARE(window->waitingLabel()->text(), QString());
        QTest::mouseClick(window->acknowledgeButton(), Qt::LeftButton);
        QVERIFY(rig.alarms.empty());
        QVERIFY(!window->isVisible());
        // A later alarm opens the window again.
        rig.alarms.raise(Report("Car", "SOS report"));
        QVERIFY(window->isVisible());
        QCOMPARE(window->userLabel()->text(), QStringLiteral("Car"));
    }

    void theMapButtonOpensTheOldestPointOrSaysItCannot() {
        Rig rig;
        RecordingOpener opener;
        installWebMapOpener(&opener);
        test::AlertRecorder recorder;
        rig.alarms.raise(Report("Truck", "SOS report", "25.052057", "121.502057"));
        rig.alarms.raise(Report("Van", "SOS report", "-33.508333", "-74.205000"));
        QTest::mouseClick(rig.window()->openMapButton(), Qt::LeftButton);
        opener.succeeds = false;
        QTest::mouseClick(rig.window()->openMapButton(), Qt::LeftButton);
        installWebMapOpener(nullptr);
        QCOMPARE(opener.opened.size(), 2);
        QVERIFY(opener.opened[0].contains("25.052057+121.502057"));
        QCOMPARE(recorder.texts(), QStringList{"Open Google map is fail."});
        QCOMPARE(recorder.messages().front().owner, rig.window());
        QCOMPARE(rig.alarms.count(), std::size_t{2});  // opening the map acknowledges nothing
    }

    void sosRowsAreRedInTheReportLists() {
        test::TempDir dir;
        Database db(test::CreateRecordsDatabase(dir, {}));
        const std::string imei = "356789012345678";
        for (const auto& [time, kind] :
             {std::pair{"10:20:01", "Period report"}, {"10:20:02", "SOS report"}}) {
            GpslogRow row = test::ReportAt(imei, time);
            row[MessageStatus] = kind;
            GpslogStore(db).append(row);
        }
        ReportTableModel model;
        model.showHistory(db, {imei, "2007/05/1200:00:00", "2007/05/1223:59:59"}, "Truck");
        const int last = model.columnCount() - 1;
        QCOMPARE(model.data(model.index(0, last), Qt::ForegroundRole).value<QColor>(),
                 QColor(Qt::red));  // newest first
        QVERIFY(!model.data(model.index(1, last), Qt::ForegroundRole).isValid());
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::SosAlarmWindowTest)
#include "sos_alarm_window_test.moc"
