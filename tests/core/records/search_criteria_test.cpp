#include "core/records/search_criteria.h"

#include <gtest/gtest.h>

#include "core/store/database.h"
#include "core/store/schema.h"
#include "support/temp_dir.h"

namespace kv820 {
namespace {

struct RangeCase {
    SearchCriteria range;
    const char* title;
    const char* from;
    const char* to;
};

class SearchRangeTexts : public testing::TestWithParam<RangeCase> {};

TEST_P(SearchRangeTexts, ZeroPaddedAndJoinedWithNothingBetween) {
    const RangeCase& c = GetParam();
    EXPECT_EQ(c.range.title(), c.title);
    const ReceiveRange receive = c.range.receiveRange("354612071234567");
    EXPECT_EQ(receive.imei + ' ' + receive.from + ' ' + receive.to,
              std::string("354612071234567 ") + c.from + ' ' + c.to);
}

INSTANTIATE_TEST_SUITE_P(
    Pickers, SearchRangeTexts,
    testing::Values(RangeCase{{"Tom", {2007, 5, 1, 0, 0, 0}, {2007, 5, 31, 23, 59, 59}},
                              "Tom:2007/05/01-00:00:00~2007/05/31-23:59:59",
                              "2007/05/0100:00:00",
                              "2007/05/3123:59:59"},
                    RangeCase{{"", {752, 1, 2, 3, 4, 5}, {99, 12, 9, 10, 9, 8}},
                              ":0752/01/02-03:04:05~0099/12/09-10:09:08",
                              "0752/01/0203:04:05",
                              "0099/12/0910:09:08"}));

std::tm LocalMoment(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

struct RecentCase {
    std::tm now;
    const char* from;
    const char* to;
};

class YearsAroundTest : public ::testing::TestWithParam<RecentCase> {};

TEST_P(YearsAroundTest, SpansTwoYearsAroundNow) {
    const ReceiveRange range = SearchCriteria::YearsAround(GetParam().now).receiveRange("1");
    EXPECT_EQ(range.from + ' ' + range.to, std::string(GetParam().from) + ' ' + GetParam().to);
}

INSTANTIATE_TEST_SUITE_P(
    Moments, YearsAroundTest,
    ::testing::Values(
        RecentCase{LocalMoment(2012, 5, 8, 7, 59, 59), "2011/05/0807:59:59", "2013/05/0807:59:59"},
        // The day is not adjusted: 29 February serves as a text bound.
        RecentCase{LocalMoment(2012, 2, 29, 12, 0, 0), "2011/02/2912:00:00", "2013/02/2912:00:00"},
        RecentCase{LocalMoment(2000, 1, 1, 0, 0, 0), "1999/01/0100:00:00", "2001/01/0100:00:00"}));

// The texts of the pickers meet the stored receive texts: both ends are included, and the
// rows outside them by one second are not.
class SearchRangeOnStoreTest : public testing::Test {
  protected:
    SearchRangeOnStoreTest() : db_(Created(dir_)) {
        for (const char* time : {"09:59:59", "10:00:00", "11:30:00", "12:00:00", "12:00:01"}) {
            GpslogStore(db_).append({Imei, "2007/05/12", time, "25.0", "121.5", "2007/05/12", time,
                                     "3D", "1", "0.0000", "0", "5", "Period report"});
        }
    }

    static std::string Created(const test::TempDir& dir) {
        CreateDatabaseFile(dir.file(DatabaseFileName));
        return dir.file(DatabaseFileName);
    }

    std::vector<std::string> timesBetween(SearchCriteria::Moment start,
                                          SearchCriteria::Moment stop) {
        std::vector<std::string> times;
        for (const auto& stored : GpslogStore(db_).newestFirst(
                 SearchCriteria{{}, start, stop}.receiveRange(Imei), {}, 100)) {
            times.push_back(stored.row[ReceiveTime]);
        }
        return times;
    }

    static constexpr const char* Imei = "354612071234567";
    test::TempDir dir_;
    Database db_;
};

TEST_F(SearchRangeOnStoreTest, IncludesBothEndsNewestFirstAndNothingWhenStartIsAfterStop) {
    EXPECT_EQ(timesBetween({2007, 5, 12, 10, 0, 0}, {2007, 5, 12, 12, 0, 0}),
              (std::vector<std::string>{"12:00:00", "11:30:00", "10:00:00"}));
    EXPECT_TRUE(timesBetween({2007, 5, 12, 12, 0, 0}, {2007, 5, 12, 10, 0, 0}).empty());
}

}  // namespace
}  // namespace kv820
