#include "core/reception/store_copy.h"

#include <gtest/gtest.h>

#include "core/alarms/alarm_store.h"
#include "core/store/database.h"
#include "core/store/database_error.h"
#include "core/store/gpslog_store.h"
#include "core/store/user_slots.h"
#include "core/store/user_store.h"
#include "support/gpslog_rows.h"
#include "support/store_engines.h"
#include "support/temp_dir.h"

namespace kv820 {
namespace {

#ifdef KV820_WITH_POSTGRES

// What an operator would see of a store: its users in their slots' order, its reports,
// alarms and settings.
struct StoreContent {
    std::vector<UserSlot> users;
    std::vector<StoredGpslogRow> reports;
    std::vector<StoredEvent> events;
    std::size_t fences = 0;
    std::size_t watches = 0;
    std::size_t userSlots = 0;
};

StoreContent contentOf(Database& db) {
    AlarmStore alarms(db);
    StoreContent content{UserStore(db).readUsers(1000),
                         GpslogStore(db).newestFirst({"35461207", "", "~"}, std::nullopt, 100),
                         alarms.newestEvents({}, 100),
                         alarms.geofences().size(),
                         alarms.watches().size(),
                         storedUserSlots(db)};
    return content;
}

void fill(Database& db) {
    ensureEveryTable(db);
    UserStore users(db);
    for (int n = 9; n >= 1; --n) {  // slot order is row order, not name order
        users.addOrUpdate({"car" + std::to_string(n), "09" + std::to_string(n),
                           "3546120700000" + std::to_string(n)});
    }
    GpslogStore gpslog(db);
    for (int minute = 10; minute < 40; ++minute) {
        gpslog.append(test::reportRow("35461207", "2026/12/08",
                                      "10:" + std::to_string(minute) + ":00", "3D"));
    }
    AlarmStore alarms(db);
    alarms.appendEvent({"35461207", EventKind::Overspeed, "2026/12/08 10:11:00", "95 km/h", 0});
    Geofence fence;
    fence.name = "Depot";
    fence.centre = {25.05, 121.5};
    fence.radiusMetres = 300;
    alarms.saveGeofence(fence);
    alarms.saveWatch("35461207", {80.5, std::chrono::seconds(60)});
    storeUserSlots(db, 20);
}

void expectSame(const StoreContent& a, const StoreContent& b) {
    EXPECT_EQ(a.users, b.users);
    ASSERT_EQ(a.reports.size(), b.reports.size());
    for (std::size_t i = 0; i < a.reports.size(); ++i) {
        EXPECT_EQ(a.reports[i].row, b.reports[i].row);
    }
    ASSERT_EQ(a.events.size(), b.events.size());
    EXPECT_EQ(a.events.front().event.details, b.events.front().event.details);
    EXPECT_EQ(a.fences, b.fences);
    EXPECT_EQ(a.watches, b.watches);
    EXPECT_EQ(a.userSlots, b.userSlots);
}

// A file moved to a server and back holds what it held, users in their slots; a user
// registered on the server afterwards comes after the copied ones.
TEST(StoreCopy, AFileMovesToAServerAndBackWhole) {
    test::TempStore file(test::Engine::Sqlite);
    test::TempStore server(test::Engine::Postgres);
    test::TempDir dir;
    const std::string back = dir.file("back.mdb");
    createDatabase(back);
    Database source(file.location());
    fill(source);
    const StoreContent before = contentOf(source);
    {
        Database target(server.location());
        const StoreCopyCount count = copyStore(source, target);
        EXPECT_EQ(count.users, 9);
        EXPECT_EQ(count.reports, 30);
        EXPECT_GE(count.otherRows, 4);
        EXPECT_TRUE(count.skippedTables.empty());
        expectSame(contentOf(target), before);
        UserStore(target).addOrUpdate({"new", "0900", "354612070009999"});
        EXPECT_EQ(UserStore(target).readUsers(1000).back().name, "new");
    }
    Database serverDb(server.location());
    Database returned(back);
    copyStore(serverDb, returned);
    StoreContent after = contentOf(returned);
    ASSERT_EQ(after.users.size(), 10u);
    after.users.pop_back();
    expectSame(after, before);
}

// A target that holds data is refused, and one failure in the middle leaves the target as
// it was: no users of a copy whose reports did not all go.
TEST(StoreCopy, NothingIsHalfCopied) {
    test::TempStore file(test::Engine::Sqlite);
    test::TempStore server(test::Engine::Postgres);
    Database source(file.location());
    fill(source);
    Database target(server.location());
    target.execute("ALTER TABLE gpslog ADD CHECK (receive_time <> '10:25:00')");
    EXPECT_THROW(copyStore(source, target), DatabaseError);
    EXPECT_TRUE(UserStore(target).readUsers(1000).empty());
    target.execute("ALTER TABLE gpslog DROP CONSTRAINT gpslog_receive_time_check");
    copyStore(source, target);
    EXPECT_THROW(copyStore(source, target), DatabaseError) << "a full target was filled again";
    EXPECT_EQ(UserStore(target).readUsers(1000).size(), 9u);
}

#endif

}  // namespace
}  // namespace kv820
