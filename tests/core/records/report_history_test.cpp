#include "core/records/report_history.h"

#include <gtest/gtest.h>

#include "core/common/number_text.h"
#include "core/store/database.h"
#include "support/gpslog_rows.h"
#include "support/temp_database_file.h"

namespace kv820 {
namespace {

GpslogRow Row(const std::string& imei, const std::string& date, const std::string& time) {
    return test::ReportRow(imei, date, time);
}

class ReportHistoryTest : public ::testing::Test {
  protected:
    ReportHistoryTest() : db(file.path()), store(db) {}

    test::TempDatabaseFile file;
    Database db;
    GpslogStore store;
};

// Order, range and tracker are the store's (its history test); the history deletes the
// incomplete rows in the range rather than showing them, and fills one screen at most.
TEST_F(ReportHistoryTest, DeletesIncompleteRowsAndStopsAtOneScreen) {
    db.execute(
        "INSERT INTO gpslog (imei, receive_date, receive_time) VALUES ('A', '2012/05/02', '11')");
    for (int i = 0; i < 60; ++i) {
        store.append(Row("A", "2012/05/01", "10:00:" + ZeroPadded(i, 2)));
    }
    const auto rows = LoadReportHistory(store, {"A", "2012/01/01", "2013/01/01"});
    ASSERT_EQ(rows.size(), ReportHistoryScreenRows);
    EXPECT_EQ(rows.front().row[ReceiveTime], "10:00:59");
    EXPECT_EQ(store.PurgeIncompleteGpslogRows(), 0) << "the incomplete row is gone already";
}

}  // namespace
}  // namespace kv820
