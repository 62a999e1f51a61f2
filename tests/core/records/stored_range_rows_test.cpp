#include "core/records/stored_range_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/records/record_export.h"
#include "core/store/database.h"
#include "support/gpslog_rows.h"
#include "support/temp_database_file.h"

namespace kv820 {
namespace {

constexpr const char* Truck = "354612071234567";
constexpr const char* Other = "354612079999999";

GpslogRow report(const char* imei, const char* time) {
    return test::reportRow(imei, "2007/05/12", time);
}

class StoredRangeRowsTest : public testing::Test {
  protected:
    StoredRangeRowsTest() : db_(file_.path()) {}

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

    test::TempDatabaseFile file_;
    Database db_;
};

// Never an incomplete row, nor one outside the range, and a reversed range has no data.
TEST_F(StoredRangeRowsTest, HandsOutTheCompleteRowsInTheRangeOfOneTrackerOldestFirst) {
    GpslogStore store(db_);
    store.append(report(Truck, "10:00:00"));
    db_.execute("UPDATE gpslog SET gps_speed=NULL");
    store.append(report(Truck, "12:00:00"));
    store.append(report(Other, "11:00:00"));
    store.append(report(Truck, "08:00:00"));
    store.append({Truck, "2007/05/13", "01:00:00", "1", "2", "", "", "3D", "", "", "", "", ""});
    bool read = false;
    EXPECT_EQ(walkedTimes(StoredRangeRows(db_, day()), &read),
              (std::vector<std::string>{"08:00:00", "12:00:00"}));
    EXPECT_TRUE(read);
    const ReceiveRange reversed{Truck, "2007/05/1223:59:59", "2007/05/1200:00:00"};
    EXPECT_EQ(precheckExport(ExportFormat::Csv, StoredRangeRows(db_, reversed)),
              ExportOutcome::NoData);
}

TEST_F(StoredRangeRowsTest, ADatabaseFailureMakesTheRowsUnreadable) {
    GpslogStore(db_).append(report(Truck, "09:00:00"));
    db_.execute("DROP TABLE gpslog");
    bool read = true;
    EXPECT_TRUE(walkedTimes(StoredRangeRows(db_, day()), &read).empty());
    EXPECT_FALSE(read);
    EXPECT_EQ(precheckExport(ExportFormat::Kml, StoredRangeRows(db_, day())),
              ExportOutcome::RowsUnreadable);
}

}  // namespace
}  // namespace kv820
