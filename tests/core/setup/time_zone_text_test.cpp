#include "core/setup/time_zone_text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace kv820 {
namespace {

struct OffsetCase {
    long seconds;
    std::string text;
};

void PrintTo(const OffsetCase& c, std::ostream* os) {
    *os << c.seconds;
}

class TimeZoneTextFromOffset : public testing::TestWithParam<OffsetCase> {};

TEST_P(TimeZoneTextFromOffset, GivesHoursWithSignAndTwoDecimals) {
    EXPECT_EQ(TimeZoneText(GetParam().seconds), GetParam().text) << GetParam().seconds;
}

INSTANTIATE_TEST_SUITE_P(
    Offsets, TimeZoneTextFromOffset,
    testing::Values(OffsetCase{8 * 3600, "+8.00"}, OffsetCase{5 * 3600 + 1800, "+5.50"},
                    OffsetCase{5 * 3600 + 45 * 60, "+5.75"}, OffsetCase{-5 * 3600, "-5.00"},
                    OffsetCase{-(3 * 3600 + 1800), "-3.50"}, OffsetCase{0, "+0.00"},
                    OffsetCase{14 * 3600, "+14.00"}, OffsetCase{-12 * 3600, "-12.00"}));

// Runs with TZ set to a zone and restores the previous zone afterwards.
class ZoneScope {
  public:
    explicit ZoneScope(const char* zone) {
        if (const char* old = std::getenv("TZ")) {
            previous_ = old;
        }
        setenv("TZ", zone, 1);
    }
    ~ZoneScope() {
        if (previous_.empty()) {
            unsetenv("TZ");
        } else {
            setenv("TZ", previous_.c_str(), 1);
        }
    }

  private:
    std::string previous_;
};

constexpr std::time_t January15 = 1736942400;  // 2025-01-15 12:00 UTC
constexpr std::time_t July15 = 1752580800;     // 2025-07-15 12:00 UTC

struct ZoneCase {
    const char* zone;
    std::time_t moment;
    std::string text;
};

void PrintTo(const ZoneCase& c, std::ostream* os) {
    *os << c.zone << " at " << c.moment;
}

class TimeZoneTextOfZone : public testing::TestWithParam<ZoneCase> {};

TEST_P(TimeZoneTextOfZone, FollowsTheComputersZoneAndDaylightSaving) {
    ZoneScope scope(GetParam().zone);
    EXPECT_EQ(TimeZoneText(UtcOffsetSecondsAt(GetParam().moment)), GetParam().text)
        << GetParam().zone;
}

// POSIX zone rules, so that the test needs no zone database.
INSTANTIATE_TEST_SUITE_P(Zones, TimeZoneTextOfZone,
                         testing::Values(ZoneCase{"CST-8", July15, "+8.00"},
                                         ZoneCase{"IST-5:30", July15, "+5.50"},
                                         ZoneCase{"EST5", July15, "-5.00"},
                                         ZoneCase{"UTC0", January15, "+0.00"},
                                         ZoneCase{"EST5EDT,M3.2.0,M11.1.0", January15, "-5.00"},
                                         ZoneCase{"EST5EDT,M3.2.0,M11.1.0", July15, "-4.00"},
                                         ZoneCase{"CET-1CEST,M3.5.0,M10.5.0/3", July15, "+2.00"}));

TEST(TimeZoneText, CurrentOffsetIsTheZonesOffsetNow) {
    ZoneScope scope("IST-5:30");
    EXPECT_EQ(CurrentUtcOffsetSeconds(), 5 * 3600 + 1800);
}

}  // namespace
}  // namespace kv820
