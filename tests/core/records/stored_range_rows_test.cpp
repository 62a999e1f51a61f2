#include "core/records/stored_range_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/records/record_export.h"
#include "core/store/database.h"
#include "core/store/schema.h"
#include "support/temp_dir.h"

namespace kv820 {
namespace {

constexpr const char* Truck = "354612071234567";
constexpr const char* Other = "354612079999999";

GpslogRow Report(const char* imei, const char* time, const char* status = "3D") {
    return {imei,   "2007/05/12", time,     "25.047924", "121.517081", "2007/05/12",   time,
            status, "12",         "0.0000", "90",        "7",          "Period report"};
}

class StoredRangeRowsTest : public testing::Test {
  protected:
    StoredRangeRowsTest() : db_(Created(dir_)) {}

    static std::string Created(const test::TempDir& dir) {
        CreateDatabaseFile(dir.file(DatabaseFileName));
        return dir.file(DatabaseFileName);
    }

    std::vector<std::string> walkedTimes(const ReportRows& rows, bool* read = nullptr) {
        std::vector<std::string> times;
        const bool ok = rows.forEachOldestFirst([&](const ReportRowView& row) {
            times.emplace_back(row.receiveTime);
            return true;
        });
        if (read) {
            *read = ok;
        }
        return times;
    }

    ReceiveRange day(const char* imei = Truck) {
        return {imei, "2007/05/1200:00:00", "2007/05/1223:59:59"};
    }

    test::TempDir dir_;
    Database db_;
};

TEST_F(StoredRangeRowsTest, HandsOutTheRangeOfOneTrackerOldestFirst) {
    GpslogStore store(db_);
    store.append(Report(Truck, "12:00:00"));
    store.append(Report(Other, "11:00:00"));
    store.append(Report(Truck, "08:00:00"));
    store.append({Truck, "2007/05/13", "01:00:00", "1", "2", "", "", "3D", "", "", "", "", ""});
    bool read = false;
    EXPECT_EQ(walkedTimes(StoredRangeRows(db_, day()), &read),
              (std::vector<std::string>{"08:00:00", "12:00:00"}));
    EXPECT_TRUE(read);
}

TEST_F(StoredRangeRowsTest, GivesTheTwelveTextsOfTheListsInOrder) {
    GpslogStore(db_).append({Truck, "2007/05/12", "10:03:04", "lat", "lon", "gdate", "gtime",
                             "status", "alt", "speed", "dir", "num", "kind"});
    std::vector<std::string> texts;
    StoredRangeRows(db_, day()).forEachOldestFirst([&](const ReportRowView& r) {
        texts = {
            std::string(r.receiveDate),  std::string(r.receiveTime), std::string(r.gpsPosLat),
            std::string(r.gpsPosLon),    std::string(r.gpsDate),     std::string(r.gpsTime),
            std::string(r.gpsStatus),    std::string(r.gpsAltitude), std::string(r.gpsSpeed),
            std::string(r.gpsDirection), std::string(r.gpsNumber),   std::string(r.messageStatus)};
        return true;
    });
    EXPECT_EQ(texts,
              (std::vector<std::string>{"2007/05/12", "10:03:04", "lat", "lon", "gdate", "gtime",
                                        "status", "alt", "speed", "dir", "num", "kind"}));
}

TEST_F(StoredRangeRowsTest, NeverHandsOutAnIncompleteRow) {
    GpslogStore(db_).append(Report(Truck, "09:00:00"));
    GpslogStore(db_).append(Report(Truck, "10:00:00"));
    db_.execute("UPDATE gpslog SET gps_speed=NULL WHERE receive_time='10:00:00'");
    EXPECT_EQ(walkedTimes(StoredRangeRows(db_, day())), (std::vector<std::string>{"09:00:00"}));
}

TEST_F(StoredRangeRowsTest, AWalkEndedByTheVisitorIsNoFailure) {
    for (const char* time : {"01:00:00", "02:00:00", "03:00:00"}) {
        GpslogStore(db_).append(Report(Truck, time));
    }
    int seen = 0;
    EXPECT_TRUE(StoredRangeRows(db_, day()).forEachOldestFirst([&](const ReportRowView&) {
        return ++seen < 2;
    }));
    EXPECT_EQ(seen, 2);
}

TEST_F(StoredRangeRowsTest, ADatabaseFailureMakesTheRowsUnreadable) {
    GpslogStore(db_).append(Report(Truck, "09:00:00"));
    db_.execute("DROP TABLE gpslog");
    bool read = true;
    EXPECT_TRUE(walkedTimes(StoredRangeRows(db_, day()), &read).empty());
    EXPECT_FALSE(read);
    EXPECT_EQ(PrecheckExport(ExportFormat::kKml, StoredRangeRows(db_, day())),
              ExportOutcome::kRowsUnreadable);
}

TEST_F(StoredRangeRowsTest, AnEmptyRangeHasNoData) {
    GpslogStore(db_).append(Report(Truck, "09:00:00"));
    const ReceiveRange reversed{Truck, "2007/05/1223:59:59", "2007/05/1200:00:00"};
    EXPECT_EQ(PrecheckExport(ExportFormat::kCsv, StoredRangeRows(db_, reversed)),
              ExportOutcome::kNoData);
}

}  // namespace
}  // namespace kv820
