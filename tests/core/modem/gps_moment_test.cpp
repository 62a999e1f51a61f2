#include "core/modem/gps_moment.h"

#include <gtest/gtest.h>

#include "support/scoped_time_zone.h"

namespace kv820 {
namespace {

using test::ScopedTimeZone;

struct MomentCase {
    const char* zone;
    const char* datePiece;
    const char* timePiece;
    const char* date;
    const char* time;
};

class GpsLocalMomentTest : public ::testing::TestWithParam<MomentCase> {};

TEST_P(GpsLocalMomentTest, ConvertsUtcToTheLocalZone) {
    const MomentCase& c = GetParam();
    ScopedTimeZone zone(c.zone);
    const GpsMomentText moment = GpsLocalMoment(c.datePiece, c.timePiece);
    EXPECT_EQ(moment.date, c.date);
    EXPECT_EQ(moment.time, c.time);
}

constexpr const char* Utc = "UTC0";
constexpr const char* Taipei = "CST-8";  // eight hours east, no daylight saving
constexpr const char* NewYork = "EST5EDT,M3.2.0,M11.1.0";
constexpr const char* Berlin = "CET-1CEST,M3.5.0,M10.5.0/3";

INSTANTIATE_TEST_SUITE_P(
    Zones, GpsLocalMomentTest,
    ::testing::Values(MomentCase{Utc, "070512", "102030", "2012/05/07", "10:20:30"},
                      // The date moves with the zone.
                      MomentCase{Taipei, "070512", "235959", "2012/05/08", "07:59:59"},
                      MomentCase{Taipei, "311212", "200000", "2013/01/01", "04:00:00"},
                      MomentCase{NewYork, "010112", "030000", "2011/12/31", "22:00:00"},
                      // The rules in force at the moment of the fix: standard time in winter,
                      // daylight saving time in summer.
                      MomentCase{NewYork, "150112", "120000", "2012/01/15", "07:00:00"},
                      MomentCase{NewYork, "010712", "120000", "2012/07/01", "08:00:00"},
                      // Both sides of the spring change in Berlin (01:00 UTC on 25 March 2012).
                      MomentCase{Berlin, "250312", "005959", "2012/03/25", "01:59:59"},
                      MomentCase{Berlin, "250312", "010000", "2012/03/25", "03:00:00"},
                      // A leap day is a calendar moment.
                      MomentCase{Utc, "290212", "000000", "2012/02/29", "00:00:00"},
                      MomentCase{Taipei, "280213", "200000", "2013/03/01", "04:00:00"}));

// Dates and times that are no calendar moment are stored as they came, in the same
// formats, whatever the zone.
INSTANTIATE_TEST_SUITE_P(
    NotCalendarMoments, GpsLocalMomentTest,
    ::testing::Values(MomentCase{Taipei, "000000", "000000", "2000/00/00", "00:00:00"},
                      MomentCase{Taipei, "", "", "2000/00/00", "00:00:00"},
                      MomentCase{Taipei, "290213", "120000", "2013/02/29", "12:00:00"},
                      MomentCase{Taipei, "310412", "120000", "2012/04/31", "12:00:00"},
                      MomentCase{Taipei, "071312", "120000", "2012/13/07", "12:00:00"},
                      MomentCase{Taipei, "070512", "240000", "2012/05/07", "24:00:00"},
                      MomentCase{Taipei, "070512", "126000", "2012/05/07", "12:60:00"},
                      MomentCase{Taipei, "070512", "120060", "2012/05/07", "12:00:60"},
                      // Four digits: the fields shift, and the result is no moment.
                      MomentCase{Taipei, "0705", "1200", "2000/00/00", "00:00:00"},
                      MomentCase{Taipei, "ab0512", "120000", "2012/05/00", "12:00:00"}));

TEST(GpsLocalMoment, HugeNumbersSaturateInsteadOfOverflowing) {
    ScopedTimeZone zone(Taipei);
    const GpsMomentText moment = GpsLocalMoment("99999999999999", "-99999999999999");
    // Every field saturates at the 32-bit bounds and the arithmetic does not wrap, so
    // the result is plainly no moment and is written as read.
    EXPECT_EQ(moment.date, "2147485647/00/00");
    EXPECT_EQ(moment.time, "-429496:00:2147483647");
}

}  // namespace
}  // namespace kv820
