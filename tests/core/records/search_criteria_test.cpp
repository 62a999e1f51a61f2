#include "core/records/search_criteria.h"

#include <gtest/gtest.h>

namespace kv820 {
namespace {

struct RangeCase {
    SearchCriteria range;
    const char* title;
    const char* from;
    const char* to;
};

TEST(SearchRangeTexts, ZeroPaddedAndJoinedWithNothingBetween) {
    for (const RangeCase& c : {RangeCase{{"Tom", {2007, 5, 1, 0, 0, 0}, {2007, 5, 31, 23, 59, 59}},
                                         "Tom:2007/05/01-00:00:00~2007/05/31-23:59:59",
                                         "2007/05/0100:00:00",
                                         "2007/05/3123:59:59"},
                               RangeCase{{"", {752, 1, 2, 3, 4, 5}, {99, 12, 9, 10, 9, 8}},
                                         ":0752/01/02-03:04:05~0099/12/09-10:09:08",
                                         "0752/01/0203:04:05",
                                         "0099/12/0910:09:08"}}) {
        EXPECT_EQ(c.range.title(), c.title);
        const ReceiveRange receive = c.range.receiveRange("354612071234567");
        EXPECT_EQ(receive.imei + ' ' + receive.from + ' ' + receive.to,
                  std::string("354612071234567 ") + c.from + ' ' + c.to);
    }
}

std::tm localMoment(int year, int month, int day, int hour, int minute, int second) {
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

// The day is not adjusted: 29 February serves as a text bound.
TEST(yearsAround, SpansTwoYearsAroundNow) {
    for (const RecentCase& c : {RecentCase{localMoment(2012, 5, 8, 7, 59, 59), "2011/05/0807:59:59",
                                           "2013/05/0807:59:59"},
                                RecentCase{localMoment(2012, 2, 29, 12, 0, 0), "2011/02/2912:00:00",
                                           "2013/02/2912:00:00"},
                                RecentCase{localMoment(2000, 1, 1, 0, 0, 0), "1999/01/0100:00:00",
                                           "2001/01/0100:00:00"}}) {
        const ReceiveRange range = SearchCriteria::yearsAround(c.now).receiveRange("1");
        EXPECT_EQ(range.from + ' ' + range.to, std::string(c.from) + ' ' + c.to);
    }
}

}  // namespace
}  // namespace kv820
