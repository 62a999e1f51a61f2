#include "core/store/gpslog_store.h"

#include <gtest/gtest.h>

#include "core/store/database.h"
#include "core/store/statement.h"
#include "support/gpslog_rows.h"
#include "support/store_engines.h"
#include "support/temp_database_file.h"
#include "support/temp_dir.h"

namespace kv820 {
namespace {

GpslogRow report(const std::string& imei, const std::string& date, const std::string& time,
                 const std::string& lat = "25.052057") {
    return test::reportRow(imei, date, time, "3D", lat);
}

class GpslogStoreTest : public testing::TestWithParam<test::Engine> {
  protected:
    GpslogStoreTest() : store_(GetParam()), db_(store_.location()), gpslog_(db_) {}

    int rowCount() {
        Statement count(db_, "SELECT count(*) FROM gpslog");
        count.step();
        return static_cast<int>(count.integer(0));
    }

    test::TempStore store_;
    Database db_;
    GpslogStore gpslog_;
};

KV820_ON_EVERY_ENGINE(GpslogStoreTest);

TEST_P(GpslogStoreTest, PurgeRemovesRowsWithANullColumnAndKeepsEmptyTexts) {
    if (GetParam() == test::Engine::Postgres) {
        // A server writes rows whole: one with a NULL was put there on purpose, and stays.
        db_.execute("INSERT INTO gpslog (imei) VALUES ('x')");
        EXPECT_EQ(gpslog_.PurgeIncompleteGpslogRows(), 0);
        EXPECT_EQ(rowCount(), 1);
        return;
    }
    gpslog_.append(report("", "", "", ""));  // empty texts are complete
    gpslog_.append(report("354612071234567", "2007/05/12", "10:20:30"));
    // One row per column with only that column NULL.
    int second = 0;
    for (const char* column : GpslogColumnNames) {
        gpslog_.append(
            report("354612071234567", "2007/05/12", "10:21:" + std::to_string(10 + second++)));
        db_.execute(std::string("UPDATE gpslog SET ") + column +
                    "=NULL WHERE rowid=(SELECT max(rowid) FROM gpslog)");
    }
    EXPECT_EQ(rowCount(), 2 + 13);
    EXPECT_EQ(gpslog_.PurgeIncompleteGpslogRows(), 13);
    EXPECT_EQ(rowCount(), 2);
    EXPECT_EQ(gpslog_.PurgeIncompleteGpslogRows(), 0);
    // A store made before the partial index is purged as well.
    db_.execute("DROP INDEX gpslog_incomplete");
    db_.execute("INSERT INTO gpslog (imei) VALUES ('x')");
    EXPECT_EQ(gpslog_.PurgeIncompleteGpslogRows(), 1);
}

TEST_P(GpslogStoreTest, HistoryIsInclusiveNewestFirstAndPaged) {
    const std::string imei = "354612071234567";
    gpslog_.append(report(imei, "2007/05/01", "00:00:00"));  // the start, exactly
    gpslog_.append(report(imei, "2007/05/02", "12:00:00"));
    gpslog_.append(report("359999999999999", "2007/05/02", "13:00:00"));  // another tracker
    gpslog_.append(report(imei, "2007/05/02", "12:00:00", "1.0"));  // same moment, stored later
    gpslog_.append(report(imei, "2007/05/03", "23:59:59"));         // the stop, exactly
    gpslog_.append(report(imei, "2007/05/04", "00:00:00"));         // after the stop
    const ReceiveRange range{imei, "2007/05/0100:00:00", "2007/05/0323:59:59"};

    auto first = gpslog_.newestFirst(range, std::nullopt, 2);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].row[ReceiveDate], "2007/05/03");
    EXPECT_EQ(first[1].row[GpsPosLat], "1.0");
    auto rest = gpslog_.newestFirst(range, first.back().position(), 10);
    ASSERT_EQ(rest.size(), 2u);
    EXPECT_EQ(rest[0].row[ReceiveTime], "12:00:00");
    EXPECT_EQ(rest[0].row[GpsPosLat], "25.052057");
    EXPECT_EQ(rest[1].row[ReceiveDate], "2007/05/01");

    std::vector<std::string> oldestFirst;
    gpslog_.forEachOldestFirst(range, [&](const GpslogRow& row) {
        oldestFirst.push_back(row[ReceiveDate]);
        return true;
    });
    EXPECT_EQ(oldestFirst,
              (std::vector<std::string>{"2007/05/01", "2007/05/02", "2007/05/02", "2007/05/03"}));
}

// A crash can leave a row with a column missing: lists and exports leave it out, and reading
// them never deletes it (only the start of the program purges).
TEST_P(GpslogStoreTest, IncompleteRowsAreLeftOutOfEveryReadAndStayStored) {
    db_.execute(
        "INSERT INTO gpslog (imei, receive_date, receive_time) VALUES ('a', '2007/05/02', '11')");
    gpslog_.append(report("a", "2007/05/01", "10:00:00"));
    const ReceiveRange range{"a", "2007/05/0100:00:00", "2007/05/0323:59:59"};
    const auto newest = gpslog_.newestFirst(range, std::nullopt, 10);
    ASSERT_EQ(newest.size(), 1u);
    EXPECT_EQ(newest.front().row[ReceiveTime], "10:00:00");
    int visited = 0;
    gpslog_.forEachOldestFirst(range, [&](const GpslogRow&) { return ++visited > 0; });
    EXPECT_EQ(visited, 1);
    EXPECT_EQ(rowCount(), 2) << "a read deleted the incomplete row";
}

TEST_P(GpslogStoreTest, ContainsFindsOnlyAnEqualRow) {
    const GpslogRow row = report("354612071234567", "2007/05/02", "12:00:00");
    EXPECT_FALSE(gpslog_.contains(row));
    gpslog_.append(row);
    EXPECT_TRUE(gpslog_.contains(row));
    GpslogRow other = row;
    other[GpsSpeed] = "18.5201";
    EXPECT_FALSE(gpslog_.contains(other));
    // The same joined moment, split differently, is a different row.
    EXPECT_FALSE(gpslog_.contains(report("354612071234567", "2007/05/021", "2:00:00")));
}

TEST_P(GpslogStoreTest, ValuesWithQuotesAreStoredAsGiven) {
    const std::string imei = "35' OR '1'='1";
    gpslog_.append(report(imei, "2007/05/02", "12:00:00"));
    gpslog_.append(report("354612071234567", "2007/05/02", "12:00:00"));
    auto rows = gpslog_.newestFirst({imei, "0", "9"}, std::nullopt, 10);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].row[Imei], imei);
}

// The schema exactly as the first release wrote it: files made by it are in use.
constexpr const char* FirstSchemaSql = R"sql(
CREATE TABLE users (name TEXT, phone TEXT, imei TEXT);
CREATE TABLE gpslog (
    imei TEXT, receive_date TEXT, receive_time TEXT, gps_pos_lat TEXT, gps_pos_lon TEXT,
    gps_date TEXT, gps_time TEXT, gps_status TEXT, gps_altitude TEXT, gps_speed TEXT,
    gps_direction TEXT, gps_number TEXT, message_status TEXT);
CREATE INDEX gpslog_by_imei_and_receive_moment ON gpslog (imei, receive_date||receive_time);
CREATE INDEX gpslog_incomplete ON gpslog (imei) WHERE imei IS NULL OR receive_date IS NULL OR receive_time IS NULL OR gps_pos_lat IS NULL OR gps_pos_lon IS NULL OR gps_date IS NULL OR gps_time IS NULL OR gps_status IS NULL OR gps_altitude IS NULL OR gps_speed IS NULL OR gps_direction IS NULL OR gps_number IS NULL OR message_status IS NULL)sql";

std::vector<std::string> schemaTexts(Database& db) {
    std::vector<std::string> texts;
    Statement query(db, "SELECT sql FROM sqlite_master ORDER BY name");
    while (query.step()) {
        texts.push_back(query.text(0).value_or(""));
    }
    return texts;
}

TEST(GpslogSchemaTest, AFileOfTheFirstSchemaIsMadeAlikeAndEveryColumnRoundTrips) {
    test::TempDir dir;
    Database first(dir.file("first.mdb"), Database::Mode::Create);
    first.execute(FirstSchemaSql);
    test::TempDatabaseFile made;
    Database now(made.path());
    EXPECT_EQ(schemaTexts(now), schemaTexts(first));

    // A text of its own in every column: a statement whose columns and placeholders
    // disagree stores, finds or reads some text in the wrong place.
    GpslogRow row;
    for (std::size_t c = 0; c < GpslogColumnCount; ++c) {
        row[c] = "text" + std::to_string(c);
    }
    GpslogStore store(first);
    store.append(row);
    EXPECT_TRUE(store.contains(row));
    const auto stored = store.newestFirst({row[Imei], "", "~"}, std::nullopt, 10);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].row, row);
    std::vector<GpslogRow> complete;
    store.forEachOldestFirst({row[Imei], "", "~"}, [&](const GpslogRow& r) {
        complete.push_back(r);
        return true;
    });
    EXPECT_EQ(complete, std::vector<GpslogRow>{row});
}

}  // namespace
}  // namespace kv820
