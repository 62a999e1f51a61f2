#include "core/setup/time_zone_text.h"

#include <gtest/gtest.h>

#include "support/scoped_time_zone.h"
#include "support/this_system.h"

namespace kv820 {
namespace {

TEST(TimeZoneText, GivesHoursWithSignAndTwoDecimals) {
    EXPECT_EQ(timeZoneText(8 * 3600), "+8.00");
    EXPECT_EQ(timeZoneText(5 * 3600 + 45 * 60), "+5.75");
    EXPECT_EQ(timeZoneText(-(3 * 3600 + 1800)), "-3.50");
    EXPECT_EQ(timeZoneText(0), "+0.00");
}

TEST(TimeZoneText, FollowsTheComputersZoneAndItsDaylightSaving) {
    constexpr std::time_t January15 = 1736942400;  // 2025-01-15 12:00 UTC
    constexpr std::time_t July15 = 1752580800;     // 2025-07-15 12:00 UTC
    struct Case {
        const char* zone;
        std::time_t moment;
        const char* text;
    };
    // POSIX zone rules, so that the test needs no zone database.
    for (const Case& c : {Case{"IST-5:30", July15, "+5.50"}, Case{"EST5", July15, "-5.00"},
                          Case{"EST5EDT,M3.2.0,M11.1.0", January15, "-5.00"},
                          Case{"EST5EDT,M3.2.0,M11.1.0", July15, "-4.00"}}) {
        test::ScopedTimeZone zone(c.zone);
        EXPECT_EQ(timeZoneText(utcOffsetSecondsAt(c.moment)), c.text) << c.zone;
    }
}

// The setup message's zone text where TZ writes out rules of its own: Linux follows them,
// the Windows C runtime takes the United States' daylight-saving dates for every zone
// (stored reports, tests/core/modem/report_fields_test.cpp, differ alike).
TEST(TimeZoneText, DaylightDatesOfAZoneSetInTzAreTheSystemsOwn) {
    struct Case {
        std::time_t moment;
        const char* onLinux;
        const char* onWindows;
    };
    test::ScopedTimeZone zone("CET-1CEST,M3.5.0,M10.5.0/3");
    for (const Case& c : {Case{1331553600, "+1.00", "+2.00"},  // 2012-03-12, before Berlin's change
                          Case{1342353600, "+2.00", "+2.00"},  // 2012-07-15
                          Case{1351598400, "+1.00", "+2.00"}}) {  // 2012-10-30, after it
        EXPECT_EQ(timeZoneText(utcOffsetSecondsAt(c.moment)),
                  test::OnWindows ? c.onWindows : c.onLinux)
            << c.moment;
    }
}

}  // namespace
}  // namespace kv820
