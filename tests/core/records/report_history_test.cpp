#include "core/records/report_history.h"

#include <gtest/gtest.h>

#include "core/store/database.h"
#include "support/gpslog_rows.h"
#include "support/temp_database_file.h"

namespace kv820 {
namespace {

class ReportHistoryTest : public ::testing::Test {
  protected:
    ReportHistoryTest() : db(file.path()), store(db) {}

    test::TempDatabaseFile file;
    Database db;
    GpslogStore store;
};

// Order, range, tracker and paging are the store's (its history test); the first page
// deletes the incomplete rows in the range rather than showing them.
TEST_F(ReportHistoryTest, TheFirstPageDeletesIncompleteRowsInsteadOfShowingThem) {
    db.execute(
        "INSERT INTO gpslog (imei, receive_date, receive_time) VALUES ('A', '2012/05/02', '11')");
    store.append(test::ReportRow("A", "2012/05/01", "10:00:00"));
    const auto rows = ReportHistoryPage(store, {"A", "2012/01/01", "2013/01/01"}, std::nullopt);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows.front().row[ReceiveTime], "10:00:00");
    EXPECT_EQ(store.PurgeIncompleteGpslogRows(), 0) << "the incomplete row is gone already";
}

}  // namespace
}  // namespace kv820
