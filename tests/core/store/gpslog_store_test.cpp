#include "core/store/gpslog_store.h"

#include <gtest/gtest.h>

#include "core/store/database.h"
#include "core/store/statement.h"
#include "support/gpslog_rows.h"
#include "support/temp_database_file.h"

namespace kv820 {
namespace {

GpslogRow Report(const std::string& imei, const std::string& date, const std::string& time,
                 const std::string& lat = "25.052057") {
    return test::ReportRow(imei, date, time, "3D", lat);
}

class GpslogStoreTest : public testing::Test {
  protected:
    GpslogStoreTest() : db_(file_.path()), store_(db_) {}

    int rowCount() {
        Statement count(db_, "SELECT count(*) FROM gpslog");
        count.step();
        return static_cast<int>(count.integer(0));
    }

    test::TempDatabaseFile file_;
    Database db_;
    GpslogStore store_;
};

TEST_F(GpslogStoreTest, PurgeRemovesRowsWithANullColumnAndKeepsEmptyTexts) {
    store_.append(Report("", "", "", ""));  // empty texts are complete
    store_.append(Report("354612071234567", "2007/05/12", "10:20:30"));
    // One row per column with only that column NULL.
    for (const char* column : GpslogColumnNames) {
        store_.append(Report("354612071234567", "2007/05/12", "10:20:30"));
        db_.execute(
            (std::string("UPDATE gpslog SET ") + column + "=NULL WHERE rowid=last_insert_rowid()")
                .c_str());
    }
    EXPECT_EQ(rowCount(), 2 + 13);
    EXPECT_EQ(store_.PurgeIncompleteGpslogRows(), 13);
    EXPECT_EQ(rowCount(), 2);
    EXPECT_EQ(store_.PurgeIncompleteGpslogRows(), 0);
    // A file made before the partial index is purged as well.
    db_.execute("DROP INDEX gpslog_incomplete");
    db_.execute("INSERT INTO gpslog (imei) VALUES ('x')");
    EXPECT_EQ(store_.PurgeIncompleteGpslogRows(), 1);
}

TEST_F(GpslogStoreTest, HistoryIsInclusiveNewestFirstAndPaged) {
    const std::string imei = "354612071234567";
    store_.append(Report(imei, "2007/05/01", "00:00:00"));  // the start, exactly
    store_.append(Report(imei, "2007/05/02", "12:00:00"));
    store_.append(Report("359999999999999", "2007/05/02", "13:00:00"));  // another tracker
    store_.append(Report(imei, "2007/05/02", "12:00:00", "1.0"));  // same moment, stored later
    store_.append(Report(imei, "2007/05/03", "23:59:59"));         // the stop, exactly
    store_.append(Report(imei, "2007/05/04", "00:00:00"));         // after the stop
    const ReceiveRange range{imei, "2007/05/0100:00:00", "2007/05/0323:59:59"};

    auto first = store_.newestFirst(range, std::nullopt, 2);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].row[ReceiveDate], "2007/05/03");
    EXPECT_EQ(first[1].row[GpsPosLat], "1.0");
    auto rest = store_.newestFirst(range, first.back().position(), 10);
    ASSERT_EQ(rest.size(), 2u);
    EXPECT_EQ(rest[0].row[ReceiveTime], "12:00:00");
    EXPECT_EQ(rest[0].row[GpsPosLat], "25.052057");
    EXPECT_EQ(rest[1].row[ReceiveDate], "2007/05/01");

    std::vector<std::string> oldest_first;
    store_.forEachOldestFirst(range, [&](const GpslogRow& row) {
        oldest_first.push_back(row[ReceiveDate]);
        return true;
    });
    EXPECT_EQ(oldest_first,
              (std::vector<std::string>{"2007/05/01", "2007/05/02", "2007/05/02", "2007/05/03"}));
}

TEST_F(GpslogStoreTest, DeleteIncompleteTouchesOnlyTheRange) {
    db_.execute(
        "INSERT INTO gpslog (imei, receive_date, receive_time) VALUES "
        "('a', '2007/05/02', '12:00:00'), ('a', '2008/01/01', '00:00:00'), "
        "('b', '2007/05/02', '12:00:00')");
    EXPECT_EQ(store_.deleteIncomplete({"a", "2007/05/0100:00:00", "2007/05/0323:59:59"}), 1);
    EXPECT_EQ(rowCount(), 2);
}

TEST_F(GpslogStoreTest, ContainsFindsOnlyAnEqualRow) {
    const GpslogRow row = Report("354612071234567", "2007/05/02", "12:00:00");
    EXPECT_FALSE(store_.contains(row));
    store_.append(row);
    EXPECT_TRUE(store_.contains(row));
    GpslogRow other = row;
    other[GpsSpeed] = "18.5201";
    EXPECT_FALSE(store_.contains(other));
    // The same joined moment, split differently, is a different row.
    EXPECT_FALSE(store_.contains(Report("354612071234567", "2007/05/021", "2:00:00")));
}

TEST_F(GpslogStoreTest, ValuesWithQuotesAreStoredAsGiven) {
    const std::string imei = "35' OR '1'='1";
    store_.append(Report(imei, "2007/05/02", "12:00:00"));
    store_.append(Report("354612071234567", "2007/05/02", "12:00:00"));
    auto rows = store_.newestFirst({imei, "0", "9"}, std::nullopt, 10);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].row[Imei], imei);
}

}  // namespace
}  // namespace kv820
