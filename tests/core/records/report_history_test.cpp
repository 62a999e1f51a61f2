#include "core/records/report_history.h"

#include <gtest/gtest.h>

#include "support/temp_database_file.h"
#include "core/store/database.h"
#include "core/store/statement.h"

namespace kv820 {
namespace {

GpslogRow Row(const std::string& imei, const std::string& date, const std::string& time) {
    return {imei, date,  time,      "25.052057", "121.502057", date,           time,
            "3D", "120", "18.5200", "270",       "8",          "Period report"};
}

class ReportHistoryTest : public ::testing::Test {
  protected:
    ReportHistoryTest() : db(file.path()), store(db) {}

    test::TempDatabaseFile file;
    Database db;
    GpslogStore store;
};

TEST_F(ReportHistoryTest, GivesTheTrackersNewestReportsInTheRange) {
    store.append(Row("A", "2012/05/01", "10:00:00"));
    store.append(Row("A", "2012/05/03", "10:00:00"));
    store.append(Row("B", "2012/05/04", "10:00:00"));
    store.append(Row("A", "2012/05/02", "10:00:00"));
    store.append(Row("A", "2015/01/01", "10:00:00"));

    const auto rows = LoadReportHistory(store, {"A", "2011/05/0800:00:00", "2013/05/0800:00:00"});
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].row[ReceiveDate], "2012/05/03");
    EXPECT_EQ(rows[1].row[ReceiveDate], "2012/05/02");
    EXPECT_EQ(rows[2].row[ReceiveDate], "2012/05/01");
}

TEST_F(ReportHistoryTest, StopsAtOneScreen) {
    for (int i = 0; i < 60; ++i) {
        store.append(
            Row("A", "2012/05/01", "10:00:" + std::string(i < 10 ? "0" : "") + std::to_string(i)));
    }
    const auto rows = LoadReportHistory(store, {"A", "2012/01/01", "2013/01/01"});
    ASSERT_EQ(rows.size(), ReportHistoryScreenRows);
    EXPECT_EQ(rows.front().row[ReceiveTime], "10:00:59");
}

TEST_F(ReportHistoryTest, IncompleteRowsInTheRangeAreDeletedNotShown) {
    store.append(Row("A", "2012/05/01", "10:00:00"));
    Statement(db,
              "INSERT INTO gpslog (imei, receive_date, receive_time) "
              "VALUES ('A', '2012/05/02', '10:00:00')")
        .run();

    const auto rows = LoadReportHistory(store, {"A", "2012/01/01", "2013/01/01"});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].row[ReceiveDate], "2012/05/01");
    EXPECT_EQ(store.PurgeIncompleteGpslogRows(), 0) << "the incomplete row is gone already";
}

TEST_F(ReportHistoryTest, OnlyTheTrackersIncompleteRowsInTheRangeGo) {
    const char* insertIncomplete =
        "INSERT INTO gpslog (imei, receive_date, receive_time) VALUES (?1, ?2, '10:00:00')";
    Statement(db, insertIncomplete).bind(1, "A").bind(2, "2012/05/02").run();
    Statement(db, insertIncomplete).bind(1, "B").bind(2, "2012/05/02").run();
    Statement(db, insertIncomplete).bind(1, "A").bind(2, "2014/05/02").run();

    EXPECT_EQ(store.deleteIncomplete({"A", "2012/01/01", "2013/01/01"}), 1);
    EXPECT_EQ(store.PurgeIncompleteGpslogRows(), 2);
}

TEST_F(ReportHistoryTest, WorksOnAFileWithoutThePartialIndex) {
    db.execute("DROP INDEX gpslog_incomplete");
    Statement(db,
              "INSERT INTO gpslog (imei, receive_date, receive_time) "
              "VALUES ('A', '2012/05/02', '10:00:00')")
        .run();
    store.append(Row("A", "2012/05/01", "10:00:00"));

    EXPECT_EQ(LoadReportHistory(store, {"A", "2012/01/01", "2013/01/01"}).size(), 1u);
    EXPECT_EQ(store.PurgeIncompleteGpslogRows(), 0);
}

TEST_F(ReportHistoryTest, DuplicateCheckMatchesEveryColumn) {
    const GpslogRow row = Row("A", "2012/05/01", "10:00:00");
    store.append(row);
    EXPECT_TRUE(store.contains(row));
    GpslogRow other = row;
    other[GpsSpeed] = "0.0000";
    EXPECT_FALSE(store.contains(other));
    // Same joined moment, split differently: a different row.
    EXPECT_FALSE(store.contains(Row("A", "2012/05/011", "0:00:00")));
}

}  // namespace
}  // namespace kv820
