#include "core/alarms/alarm_store.h"

#include <gtest/gtest.h>

#include "core/alarms/event_report.h"
#include "core/records/text_sink.h"
#include "core/store/database.h"
#include "core/store/statement.h"
#include "support/collecting_sink.h"
#include "support/store_engines.h"
#include "support/temp_database_file.h"

namespace kv820 {
namespace {

std::string schemaOf(Database& db, const char* table) {
    Statement query(db, "SELECT sql FROM sqlite_master WHERE name = ?1");
    query.bind(1, std::string_view(table));
    return query.step() ? query.text(0).value_or("") : "";
}

class AlarmStoreTest : public testing::TestWithParam<test::Engine> {
  protected:
    AlarmStoreTest() : file(GetParam()), db(file.location()), store(db) {
        AlarmStore::ensureTables(db);
    }

    test::TempStore file;
    Database db;
    AlarmStore store;
};

KV820_ON_EVERY_ENGINE(AlarmStoreTest);

TEST(AlarmTablesTest, TheTablesAreAddedOnceAndTheFirstTablesStayAsTheyWere) {
    test::TempDatabaseFile older;
    Database olderDb(older.path());
    const std::string users = schemaOf(olderDb, "users");
    const std::string gpslog = schemaOf(olderDb, "gpslog");
    ASSERT_NE(gpslog, "");
    EXPECT_FALSE(AlarmStore::hasTables(olderDb));
    AlarmStore::ensureTables(olderDb);
    AlarmStore::ensureTables(olderDb);
    EXPECT_TRUE(AlarmStore::hasTables(olderDb));
    EXPECT_EQ(schemaOf(olderDb, "users"), users);
    EXPECT_EQ(schemaOf(olderDb, "gpslog"), gpslog);
}

TEST_P(AlarmStoreTest, EventsAreFilteredListedNewestFirstAndAcknowledgedOnce) {
    const std::vector<TrackerEvent> events = {
        {"A", EventKind::GeofenceEnter, "2026/03/02 08:00:00", "Depot", 7},
        {"B", EventKind::Sos, "2026/03/02 09:00:00", "SOS report"},
        {"A", EventKind::Overspeed, "2026/03/02 10:00:00", "tracker limit, ..."},
        {"A", EventKind::GeofenceExit, "2026/03/03 08:00:00", "Depot", 7},
    };
    std::vector<std::int64_t> ids;
    for (const TrackerEvent& e : events) {
        ids.push_back(store.appendEvent(e));
    }
    auto times = [&](const EventFilter& filter) {
        std::vector<std::string> listed;
        for (const StoredEvent& s : store.newestEvents(filter, 10)) {
            listed.push_back(s.event.time.substr(11, 2));
        }
        return listed;
    };
    EXPECT_EQ(times({}), (std::vector<std::string>{"08", "10", "09", "08"}));
    EXPECT_EQ(times({.imei = "A"}), (std::vector<std::string>{"08", "10", "08"}));
    EXPECT_EQ(times({.kind = EventKind::Sos}), (std::vector<std::string>{"09"}));
    EXPECT_EQ(times({.from = "2026/03/02 08:30:00", .to = "2026/03/02 23:59:59"}),
              (std::vector<std::string>{"10", "09"}));

    std::vector<StoredEvent> oldest;
    store.forEachEventOldestFirst({.imei = "A"}, [&](const StoredEvent& s) {
        oldest.push_back(s);
        return true;
    });
    ASSERT_EQ(oldest.size(), 3u);
    TrackerEvent oldestA = events.front();
    oldestA.id = ids.front();  // read back with the id it was stored under
    EXPECT_EQ(oldest.front().event, oldestA);

    EXPECT_EQ(store.acknowledge({oldest[0].id, oldest[1].id}, "2026/03/02 11:00:00", "ops"), 2);
    EXPECT_EQ(store.acknowledge({oldest[0].id}, "2026/03/02 12:00:00", "later"), 0);
    const auto first = store.newestEvents({.imei = "A", .to = "2026/03/02 08:00:00"}, 1);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].acknowledgedBy, "ops");
    EXPECT_EQ(first[0].acknowledgedAt, "2026/03/02 11:00:00");
}

TEST_P(AlarmStoreTest, TheLastFenceEventTellsWhereATrackerIsAfterARestart) {
    store.appendEvent({"A", EventKind::GeofenceEnter, "t1", "Depot", 1});
    store.appendEvent({"A", EventKind::GeofenceEnter, "t2", "Yard", 2});
    store.appendEvent({"A", EventKind::GeofenceExit, "t3", "Depot", 1});
    store.appendEvent({"B", EventKind::GeofenceEnter, "t4", "Depot", 1});
    auto inside = store.lastInside();
    std::sort(inside.begin(), inside.end());
    EXPECT_EQ(inside, (std::vector<std::pair<std::string, std::int64_t>>{{"A", 2}, {"B", 1}}));
}

TEST_P(AlarmStoreTest, FencesAndWatchesAreKeptAsSaved) {
    Geofence depot;
    depot.name = "Depot";
    depot.centre = {52.5, 13.4};
    depot.radiusMetres = 300;
    depot.speedLimitKmh = 15;
    depot.id = store.saveGeofence(depot);
    Geofence zone;
    zone.name = "Zone";
    zone.shape = Geofence::Shape::Polygon;
    zone.corners = {{1, 2}, {1, 3}, {2, 3}};
    zone.id = store.saveGeofence(zone);
    depot.name = "Main depot";
    store.saveGeofence(depot);
    EXPECT_EQ(store.geofences(), (std::vector<Geofence>{depot, zone}));
    store.removeGeofence(depot.id);
    EXPECT_EQ(store.geofences(), (std::vector<Geofence>{zone}));

    store.saveWatch("A", {.speedLimitKmh = 80.5, .periodInterval = std::chrono::seconds(60)});
    store.saveWatch("B", {});
    const auto watches = store.watches();
    EXPECT_EQ(watches.at("A").speedLimitKmh, 80.5);
    EXPECT_EQ(watches.at("A").periodInterval, std::chrono::seconds(60));
    EXPECT_FALSE(watches.at("B").speedLimitKmh);
    EXPECT_FALSE(watches.at("B").periodInterval);
}

TEST_P(AlarmStoreTest, EventsExportAsCsvOldestFirstWithFieldsQuotedWhereNeeded) {
    store.appendEvent({"A", EventKind::Overspeed, "2026/03/02 10:00:00", "Zone, limit 30.0 km/h"});
    store.appendEvent({"A", EventKind::Sos, "2026/03/02 09:00:00", "SOS report"});
    store.appendEvent({"B", EventKind::Sos, "2026/03/02 09:30:00", "SOS report"});
    store.acknowledge({2}, "2026/03/02 09:05:00", "ops");
    test::CollectingSink sink;
    ASSERT_TRUE(writeEventsCsv(sink, store, {.imei = "A"}));
    EXPECT_EQ(sink.text,
              "time,kind,details,acknowledged,acknowledged_by\r\n"
              "2026/03/02 09:00:00,SOS,SOS report,2026/03/02 09:05:00,ops\r\n"
              "2026/03/02 10:00:00,overspeed,\"Zone, limit 30.0 km/h\",,\r\n");
}

}  // namespace
}  // namespace kv820
