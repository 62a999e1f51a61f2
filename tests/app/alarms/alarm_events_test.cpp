#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QWidget>

#include "app/alarms/events_page.h"
#include "app/alarms/sos_alarm_window.h"
#include "app/alarms/sos_alarms.h"
#include "core/alarms/alarm_store.h"
#include "core/alarms/event_time.h"
#include "core/store/database.h"
#include "support/qt/recording_services.h"
#include "support/qt/records_database.h"
#include "support/temp_dir.h"

namespace kv820 {

namespace {

class SilentBeeper final : public AlarmBeeper {
  public:
    void beep() override {}
};

const TrackerEvent Overspeed{test::Van.imei, EventKind::Overspeed, "2026/03/02 10:00:00",
                             "tracker limit, limit 90.0 km/h, speed 95.0 km/h"};

// A database with the alarm tables and a few events of two trackers.
struct EventsRig {
    EventsRig() {
        AlarmStore::ensureTables(db);
        for (const TrackerEvent& event :
             {TrackerEvent{test::Truck.imei, EventKind::GeofenceEnter, "2026/03/02 08:00:00",
                           "Depot", 1},
              TrackerEvent{test::Van.imei, EventKind::GeofenceEnter, "2026/03/02 09:00:00", "Yard",
                           2},
              TrackerEvent{test::Truck.imei, EventKind::Overspeed, "2026/03/02 09:30:00", "Zone"},
              Overspeed}) {
            store.appendEvent(event);
        }
        users.replace({test::Truck, test::Van});
    }

    test::TempDir dir;
    test::RecordingServices services;
    Database db{test::createRecordsDatabase(dir, {test::Truck, test::Van})};
    AlarmStore store{db};
    UserRegistry users;
};

QStringList column(const QTableWidget* list, int column) {
    QStringList texts;
    for (int row = 0; row < list->rowCount(); ++row) {
        texts << list->item(row, column)->text();
    }
    return texts;
}

}  // namespace

class AlarmEventsTest : public QObject {
    Q_OBJECT

  private slots:
    void anOverspeedRaisesTheAlarmUntilAcknowledgedByTheOperator() {
        qputenv("USER", "alice");
        EventsRig rig;
        QWidget owner;
        SosAlarms alarms(rig.services.app(), &owner);
        alarms.setBeeper(std::make_unique<SilentBeeper>());
        alarms.setEventStore([&rig] { return &rig.db; }, &rig.users);
        AlarmKindChoice choice;
        choice.setRaises(EventKind::GeofenceEnter, false);
        alarms.setKindChoice(choice);
        alarms.raiseEvents({rig.store.newestEvents({}, 4).back().event});  // an enter
        QVERIFY(alarms.window() == nullptr && !alarms.beeping());

        // As the session hands it on: stored, with its id.
        alarms.raiseEvents({rig.store.newestEvents({}, 1).front().event});
        SosAlarmWindow* window = alarms.window();
        QVERIFY(window->isVisible() && alarms.beeping());
        QCOMPARE(column(window->alarmList(), 1), QStringList{"van"});
        QTest::mouseClick(window->acknowledgeButton(), Qt::LeftButton);
        QVERIFY(!alarms.beeping() && !window->isVisible());
        const StoredEvent stored = rig.store.newestEvents({}, 1).front();
        QCOMPARE(stored.acknowledgedBy, std::string("alice"));
        QVERIFY(isEventTimeText(stored.acknowledgedAt));
    }

    void theEventsPageListsWhatItsFilterLets_data() {
        QTest::addColumn<QString>("tracker");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QStringList>("details");
        const QStringList all{Overspeed.details.c_str(), "Zone", "Yard", "Depot"};
        QTest::newRow("everything") << "All trackers"
                                    << "All kinds"
                                    << "" << all;
        QTest::newRow("one tracker") << "truck"
                                     << "All kinds"
                                     << "" << QStringList{"Zone", "Depot"};
        QTest::newRow("one kind") << "All trackers"
                                  << "geofence enter"
                                  << "" << QStringList{"Yard", "Depot"};
        QTest::newRow("both") << "van"
                              << "geofence enter"
                              << "" << QStringList{"Yard"};
        QTest::newRow("from a time") << "truck"
                                     << "All kinds"
                                     << "2026/03/02 08:00:01" << QStringList{"Zone"};
    }

    void theEventsPageListsWhatItsFilterLets() {
        QFETCH(QString, tracker);
        QFETCH(QString, kind);
        QFETCH(QString, from);
        QFETCH(QStringList, details);
        EventsRig rig;
        EventsPage page(
            rig.users, [&rig] { return &rig.db; }, rig.services.app());
        page.findChild<QComboBox*>("eventTrackerCombo")->setCurrentText(tracker);
        page.findChild<QComboBox*>("eventKindCombo")->setCurrentText(kind);
        page.findChild<QLineEdit*>("eventFromEdit")->setText(from);
        QTest::mouseClick(page.findChild<QPushButton*>("eventShowButton"), Qt::LeftButton);
        QCOMPARE(column(page.eventList(), 3), details);
    }

    void eventsAcknowledgedOnThePageShowWhoAndWhen() {
        qputenv("USER", "bob");
        EventsRig rig;
        EventsPage page(
            rig.users, [&rig] { return &rig.db; }, rig.services.app());
        page.eventList()->selectRow(1);
        QTest::mouseClick(page.findChild<QPushButton*>("eventAcknowledgeButton"), Qt::LeftButton);
        const QStringList acknowledged = column(page.eventList(), 4);
        QCOMPARE(acknowledged.filter(" by bob").size(), 1);
        QVERIFY(acknowledged[1].endsWith(" by bob"));
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::AlarmEventsTest)
#include "alarm_events_test.moc"
