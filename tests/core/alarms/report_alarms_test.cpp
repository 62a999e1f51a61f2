#include "core/alarms/report_alarms.h"

#include <gtest/gtest.h>

#include "core/report/position_report.h"
#include "core/store/database.h"
#include "core/store/transaction.h"
#include "support/temp_database_file.h"

namespace kv820 {
namespace {

using namespace std::chrono_literals;

PositionReport reportAt(const std::string& lat, const std::string& time) {
    PositionReport report;
    report.imei = "354612071234567";
    report.gpsDate = "2026/03/02";
    report.gpsTime = time;
    report.gpsStatus = "3D";
    report.gpsPosLat = lat;
    report.gpsPosLon = "13.000000";
    report.gpsSpeed = "10.0000";
    report.messageStatus = "Period report";
    return report;
}

const PositionReport InDepot = reportAt("52.000000", "08:00:00");
const PositionReport Outside = reportAt("52.100000", "08:10:00");

class ReportAlarmsTest : public ::testing::Test {
  protected:
    ReportAlarmsTest() : window(file.path()), session(file.path()) {
        AlarmStore::ensureTables(window);
    }

    // The window adds a fence on its own connection, as the operator does.
    void addDepot() {
        Geofence depot;
        depot.name = "Depot";
        depot.centre = {52.0, 13.0};
        depot.radiusMetres = 500;
        AlarmStore(window).saveGeofence(depot);
    }

    // One report stored as the session stores it: events and row in one transaction.
    std::vector<TrackerEvent> store(ReportAlarms& alarms, const PositionReport& report,
                                    bool fails = false) {
        Transaction transaction(session);
        auto events = alarms.storeEventsOf(report, 0ms);
        if (fails) {
            alarms.rolledBack();
            return {};
        }
        transaction.commit();
        alarms.committed();
        return events;
    }

    std::size_t storedEvents() { return AlarmStore(window).newestEvents({}, 100).size(); }

    test::TempDatabaseFile file;
    Database window;
    Database session;
};

TEST_F(ReportAlarmsTest, AFenceTheWindowAddsCountsFromTheNextReport) {
    ReportAlarms alarms(session);
    EXPECT_TRUE(store(alarms, InDepot).empty());
    addDepot();
    const auto events = store(alarms, InDepot);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, EventKind::GeofenceEnter);
    EXPECT_EQ(storedEvents(), 1u);
}

TEST_F(ReportAlarmsTest, AReportNotStoredRaisesItsEventsWhenItIsStoredLater) {
    addDepot();
    ReportAlarms alarms(session);
    EXPECT_TRUE(store(alarms, InDepot, true).empty());
    EXPECT_EQ(storedEvents(), 0u);
    EXPECT_EQ(store(alarms, InDepot).size(), 1u);
    EXPECT_EQ(storedEvents(), 1u);
}

TEST_F(ReportAlarmsTest, ARestartedSessionKnowsWhichFenceATrackerIsIn) {
    addDepot();
    {
        ReportAlarms before(session);
        EXPECT_EQ(store(before, InDepot).size(), 1u);
    }
    ReportAlarms after(session);
    EXPECT_TRUE(store(after, InDepot).empty()) << "a second enter after the restart";
    const auto left = store(after, Outside);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].kind, EventKind::GeofenceExit);
}

TEST_F(ReportAlarmsTest, AnOverdueTrackerIsStoredOnce) {
    ReportAlarms alarms(session);
    for (int minute = 0; minute <= 4; minute += 2) {
        Transaction transaction(session);
        alarms.storeEventsOf(InDepot, std::chrono::minutes(minute));
        transaction.commit();
        alarms.committed();
    }
    EXPECT_EQ(alarms.checkOverdue(4min + 6min + 1s, "2026/03/02 08:11:00").size(), 1u);
    EXPECT_TRUE(alarms.checkOverdue(4min + 20min, "2026/03/02 08:30:00").empty());
    EXPECT_EQ(storedEvents(), 1u);
}

TEST_F(ReportAlarmsTest, TheForwardsOfAnEventAreQueuedWithItAndOnlyWithIt) {
    addDepot();
    ForwardStore(window).saveSettings(
        {{"+491701234567"}, "http://127.0.0.1:9/hook", {EventKind::GeofenceEnter}});
    ReportAlarms alarms(session);
    EXPECT_TRUE(store(alarms, InDepot, true).empty());
    EXPECT_TRUE(ForwardStore(window).waiting(0).empty()) << "queued for an event not stored";
    const auto events = store(alarms, InDepot);
    ASSERT_EQ(events.size(), 1u);
    const std::vector<Forward> queued = ForwardStore(window).waiting(0);
    ASSERT_EQ(queued.size(), 2u);
    for (const Forward& forward : queued) {
        EXPECT_EQ(forward.eventId, events[0].id);
    }
    EXPECT_EQ(queued[0].channel, ForwardChannel::Sms);
    EXPECT_EQ(queued[1].channel, ForwardChannel::Webhook);
    EXPECT_TRUE(store(alarms, Outside).size() == 1 && ForwardStore(window).waiting(0).size() == 2)
        << "an exit was forwarded, though only enter was chosen";
}

}  // namespace
}  // namespace kv820
