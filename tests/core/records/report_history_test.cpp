#include "core/records/report_history.h"

#include <gtest/gtest.h>

#include "core/store/database.h"
#include "core/store/statement.h"
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

// Incomplete rows in the range are deleted, not shown. (Paging is the store's own.)
TEST_F(ReportHistoryTest, TheFirstPageGivesTheTrackersNewestCompleteReportsInTheRange) {
    store.append(Row("A", "2012/05/01", "10:00:00"));
    Statement(db,
              "INSERT INTO gpslog (imei, receive_date, receive_time) "
              "VALUES ('A', '2012/05/02', '11:00:00')")
        .run();
    store.append(Row("A", "2012/05/03", "10:00:00"));
    store.append(Row("B", "2012/05/04", "10:00:00"));
    store.append(Row("A", "2012/05/02", "10:00:00"));
    store.append(Row("A", "2015/01/01", "10:00:00"));

    const auto rows =
        ReportHistoryPage(store, {"A", "2011/05/0800:00:00", "2013/05/0800:00:00"}, std::nullopt);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].row[ReceiveDate], "2012/05/03");
    EXPECT_EQ(rows[1].row[ReceiveDate], "2012/05/02");
    EXPECT_EQ(rows[2].row[ReceiveDate], "2012/05/01");
    EXPECT_EQ(store.PurgeIncompleteGpslogRows(), 0) << "the incomplete row is gone already";
}

}  // namespace
}  // namespace kv820
