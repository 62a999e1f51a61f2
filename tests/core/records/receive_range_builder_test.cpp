#include "core/records/receive_range_builder.h"

#include <gtest/gtest.h>

namespace kv820 {
namespace {

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

TEST(SearchRangeTexts, FormatsPickedMomentsZeroPadded) {
    const RangeTexts texts = SearchRangeTexts({2007, 5, 1, 0, 0, 0}, {2007, 12, 31, 23, 5, 9});
    EXPECT_EQ(texts.startDate, "2007/05/01");
    EXPECT_EQ(texts.startTime, "00:00:00");
    EXPECT_EQ(texts.stopDate, "2007/12/31");
    EXPECT_EQ(texts.stopTime, "23:05:09");
}

TEST(SearchReceiveRange, JoinsDateAndTimeWithNothingBetween) {
    const ReceiveRange range = SearchReceiveRange(
        "356789012345678", SearchRangeTexts({2007, 5, 1, 0, 0, 0}, {2007, 5, 31, 23, 59, 59}));
    EXPECT_EQ(range.imei, "356789012345678");
    EXPECT_EQ(range.from, "2007/05/0100:00:00");
    EXPECT_EQ(range.to, "2007/05/3123:59:59");
}

struct RecentCase {
    std::tm now;
    const char* from;
    const char* to;
};

class RecentReportsRangeTest : public ::testing::TestWithParam<RecentCase> {};

TEST_P(RecentReportsRangeTest, SpansTwoYearsAroundNow) {
    const ReceiveRange range = RecentReportsRange("356789012345678", GetParam().now);
    EXPECT_EQ(range.imei, "356789012345678");
    EXPECT_EQ(range.from, GetParam().from);
    EXPECT_EQ(range.to, GetParam().to);
}

INSTANTIATE_TEST_SUITE_P(
    Moments, RecentReportsRangeTest,
    ::testing::Values(
        RecentCase{LocalMoment(2012, 5, 8, 7, 59, 59), "2011/05/0807:59:59", "2013/05/0807:59:59"},
        // The day is not adjusted: 29 February serves as a text bound.
        RecentCase{LocalMoment(2012, 2, 29, 12, 0, 0), "2011/02/2912:00:00", "2013/02/2912:00:00"},
        RecentCase{LocalMoment(2000, 1, 1, 0, 0, 0), "1999/01/0100:00:00", "2001/01/0100:00:00"}));

}  // namespace
}  // namespace kv820
