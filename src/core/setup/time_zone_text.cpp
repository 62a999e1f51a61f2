#include "core/setup/time_zone_text.h"

#include <cstdio>

namespace kv820 {

std::string TimeZoneText(long utcOffsetSeconds) {
    // The tracker expects whole minutes turned into hours by a multiplication with 1/60,
    // then printed with two decimals ("+5.50" for UTC+5:30).
    const long minutesEast = utcOffsetSeconds / 60;
    if (minutesEast == 0) {
        return "+0.00";
    }
    const char sign = minutesEast > 0 ? '+' : '-';
    const long magnitude = minutesEast > 0 ? minutesEast : -minutesEast;
    char text[32];
    std::snprintf(text, sizeof text, "%c%.2f", sign, static_cast<double>(magnitude) * (1.0 / 60));
    return text;
}

long UtcOffsetSecondsAt(std::time_t moment) {
    // localtime_r need not look at the zone again; a zone changed while the program runs
    // (or by a test) must be seen.
    tzset();
    std::tm local{};
    localtime_r(&moment, &local);
    return local.tm_gmtoff;
}

long CurrentUtcOffsetSeconds() {
    return UtcOffsetSecondsAt(std::time(nullptr));
}

}  // namespace kv820
