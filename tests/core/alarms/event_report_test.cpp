#include "core/alarms/event_report.h"

#include <gtest/gtest.h>

#include <fstream>

#include "core/alarms/alarm_store.h"
#include "core/alarms/event_time.h"
#include "core/alarms/geofence_file.h"
#include "core/records/text_sink.h"
#include "core/store/database.h"
#include "core/store/user_store.h"
#include "support/collecting_sink.h"
#include "support/temp_database_file.h"

namespace kv820 {
namespace {

constexpr const char* Header = "time,kind,details,acknowledged,acknowledged_by\r\n";

class EventReportTest : public ::testing::Test {
  protected:
    EventReportTest() : db(file.path()) { UserStore(db).addOrUpdate({"van", "0922", "111"}); }

    std::string report(const UserRangeRequest& request) {
        sink.text.clear();
        return writeUserEventsCsv(db, request, sink);
    }

    test::TempDatabaseFile file;
    Database db;
    test::CollectingSink sink;
};

TEST(EventTimeTest, OnlyMomentsOfTheCalendarAreTimes) {
    for (const char* good : {"2024/02/29 23:59:59", "2026/12/31 00:00:00"}) {
        EXPECT_TRUE(isEventTimeText(good)) << good;
    }
    for (const char* bad : {"2026/02/29 10:00:00", "2026/04/31 10:00:00", "2026/13/01 10:00:00",
                            "2026/01/01 24:00:00", "2026/01/01 10:60:00", "2026/1/01 10:00:00",
                            "2026-01-01 10:00:00", "2026/01/01 10:00:0x", "0000/01/01 10:00:00"}) {
        EXPECT_FALSE(isEventTimeText(bad)) << bad;
    }
}

TEST_F(EventReportTest, AUserRangeListsOnlyThatUsersEventsOldestFirst) {
    EXPECT_EQ(report({"van", "2026/03/01 00:00:00", "2026/03/31 00:00:00"}), "");
    EXPECT_EQ(sink.text, Header);  // a file without the event tables, and it keeps none
    EXPECT_FALSE(AlarmStore::hasTables(db));

    AlarmStore::ensureTables(db);
    AlarmStore store(db);
    store.appendEvent({"111", EventKind::Overdue, "2026/03/02 10:00:00", "silent"});
    store.appendEvent({"111", EventKind::Sos, "2026/03/02 09:00:00", "SOS report"});
    store.appendEvent({"222", EventKind::Sos, "2026/03/02 09:30:00", "SOS report"});
    store.appendEvent({"111", EventKind::Sos, "2026/04/02 09:00:00", "SOS report"});
    EXPECT_EQ(report({"van", "2026/03/01 00:00:00", "2026/03/31 00:00:00"}), "");
    EXPECT_EQ(sink.text, std::string(Header) + "2026/03/02 09:00:00,SOS,SOS report,,\r\n" +
                             "2026/03/02 10:00:00,overdue,silent,,\r\n");
}

TEST_F(EventReportTest, AWrongUserTimeOrRangeIsRefusedWithItsReason) {
    const std::pair<UserRangeRequest, std::string> refused[] = {
        {{"bus", "2026/03/01 00:00:00", "2026/03/02 00:00:00"}, "No user is named \"bus\"."},
        {{"van", "2026/02/30 00:00:00", "2026/03/02 00:00:00"},
         "\"2026/02/30 00:00:00\" is no time of the form YYYY/MM/DD hh:mm:ss."},
        {{"van", "2026/03/01 00:00:00", "yesterday"},
         "\"yesterday\" is no time of the form YYYY/MM/DD hh:mm:ss."},
        {{"van", "2026/03/02 00:00:00", "2026/03/01 00:00:00"}, "The range starts after it ends."},
    };
    for (const auto& [request, error] : refused) {
        EXPECT_EQ(report(request), error);
        EXPECT_EQ(sink.text, "");
    }
}

TEST_F(EventReportTest, AFenceFileIsAddedWholeOrNotAtAll) {
    const std::string path = file.path() + ".geojson";
    auto importText = [&](const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
        return importGeofenceFile(db, path);
    };
    const std::string circle = R"({"type":"Feature","properties":{"name":"Depot","radius":300},)"
                               R"("geometry":{"type":"Point","coordinates":[13.4,52.5]}})";
    const GeofenceFileImport bad = importText(R"({"type":"FeatureCollection","features":[)" +
                                              circle + R"(,{"type":"Feature"}]})");
    EXPECT_EQ(bad.added, 0u);
    EXPECT_NE(bad.error.find("feature 2"), std::string::npos) << bad.error;
    EXPECT_FALSE(AlarmStore::hasTables(db));

    const GeofenceFileImport good =
        importText(R"({"type":"FeatureCollection","features":[)" + circle + "," + circle + "]}");
    EXPECT_EQ(good.error, "");
    EXPECT_EQ(good.added, 2u);
    EXPECT_EQ(AlarmStore(db).geofences().size(), 2u);
    EXPECT_NE(importGeofenceFile(db, path + ".missing").error, "");
}

}  // namespace
}  // namespace kv820
