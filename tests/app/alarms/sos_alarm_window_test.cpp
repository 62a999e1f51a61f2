#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include "app/alarms/sos_alarm_window.h"
#include "app/alarms/sos_alarms.h"
#include "app/records/report_table_model.h"
#include "core/store/database.h"
#include "core/store/gpslog_store.h"
#include "support/qt/recording_services.h"
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

PositionReport report(const std::string& user, const std::string& kind,
                      const std::string& latitude = "25.047924",
                      const std::string& longitude = "121.517081") {
    GpslogRow row = test::reportAt(test::Truck.imei, "07:59:59", "3D", latitude, longitude);
    row[MessageStatus] = kind;
    return test::reportOf({user, test::Truck.phone, test::Truck.imei}, row);
}

}  // namespace

class SosAlarmWindowTest : public QObject {
    Q_OBJECT

  private:
    // Alarms over a parent window, beeping into `beeps`.
    struct Rig {
        test::RecordingServices services;
        QWidget owner;
        int beeps = 0;
        SosAlarms alarms{services.app(), &owner};
        Rig() { alarms.setBeeper(std::make_unique<CountingBeeper>(beeps)); }
        SosAlarmWindow* window() { return owner.findChild<SosAlarmWindow*>("sosAlarmWindow"); }
    };

  private slots:
    void sosAlarmsQueueAndBeepUntilEachIsAcknowledgedOldestFirst() {
        Rig rig;
        rig.alarms.raise(report("Truck", "Period report"));
        QVERIFY(rig.window() == nullptr);
        QCOMPARE(rig.beeps, 0);
        for (const char* user : {"Truck", "Van", "Bus"}) {
            rig.alarms.raise(report(user, "SOS report"));
        }
        QCOMPARE(rig.beeps, 1);  // at once, then by the interval
        SosAlarmWindow* window = rig.window();
        QVERIFY(window->isVisible() && !window->isModal());
        QVERIFY(!window->close());  // closing the window is no acknowledgement
        QCOMPARE(window->userLabel()->text() + "|" + window->timeLabel()->text() + "|" +
                     window->positionLabel()->text() + "|" + window->waitingLabel()->text(),
                 QStringLiteral("Truck|2007/05/12-07:59:59|25.047924, 121.517081|"
                                "2 more SOS alarm(s) waiting."));
        QTest::mouseClick(window->acknowledgeButton(), Qt::LeftButton);
        QCOMPARE(window->userLabel()->text(), QStringLiteral("Van"));
        QVERIFY(rig.alarms.beeping());  // the later alarms still sound
        QTest::mouseClick(window->acknowledgeButton(), Qt::LeftButton);
        QCOMPARE(window->waitingLabel()->text(), QString());
        QTest::mouseClick(window->acknowledgeButton(), Qt::LeftButton);
        QVERIFY(rig.alarms.empty() && !rig.alarms.beeping());
        QVERIFY(!window->isVisible());
        // A later alarm opens the window again.
        rig.alarms.raise(report("Car", "SOS report"));
        QVERIFY(window->isVisible());
        QCOMPARE(window->userLabel()->text(), QStringLiteral("Car"));
    }

    void theMapButtonOpensTheOldestPointOrSaysItCannot() {
        Rig rig;
        test::RecordingWebMapOpener& opener = rig.services.webMap;
        const test::AlertRecorder& recorder = rig.services.alerts;
        rig.alarms.raise(report("Truck", "SOS report"));
        rig.alarms.raise(report("Van", "SOS report", "-33.508333", "-74.205000"));
        QTest::mouseClick(rig.window()->openMapButton(), Qt::LeftButton);
        opener.accept = false;
        QTest::mouseClick(rig.window()->openMapButton(), Qt::LeftButton);
        QCOMPARE(opener.addresses.size(), 2);
        QVERIFY(opener.addresses[0].contains("25.047924+121.517081"));
        QCOMPARE(recorder.texts(), QStringList{"Open Google map is fail."});
        QCOMPARE(recorder.messages().front().owner, rig.window());
        QCOMPARE(rig.alarms.count(), std::size_t{2});  // opening the map acknowledges nothing
    }

    void sosRowsAreRedInTheReportLists() {
        test::TempDir dir;
        Database db(test::createRecordsDatabase(dir, {}));
        for (const auto& [time, kind] :
             {std::pair{"10:20:01", "Period report"}, {"10:20:02", "SOS report"}}) {
            GpslogRow row = test::reportAt(test::Truck.imei, time);
            row[MessageStatus] = kind;
            GpslogStore(db).append(row);
        }
        ReportTableModel model;
        model.showHistory(db, {test::Truck.imei, "2007/05/1200:00:00", "2007/05/1223:59:59"},
                          "Truck");
        const int last = model.columnCount() - 1;
        QCOMPARE(model.data(model.index(0, last), Qt::ForegroundRole).value<QColor>(),
                 QColor(Qt::red));  // newest first
        QVERIFY(!model.data(model.index(1, last), Qt::ForegroundRole).isValid());
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::SosAlarmWindowTest)
#include "sos_alarm_window_test.moc"
