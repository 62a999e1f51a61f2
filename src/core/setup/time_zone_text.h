#pragma once

#include <ctime>
#include <string>

namespace kv820 {

// The tracker's time-zone field: the hours to add to UTC, with two decimals and an
// explicit sign ("+8.00", "+5.50", "-5.00", "+0.00"). utcOffsetSeconds is east of UTC,
// as tm_gmtoff counts it, daylight saving included.
std::string TimeZoneText(long utcOffsetSeconds);

// The computer's offset from UTC at the given moment, daylight saving included.
long UtcOffsetSecondsAt(std::time_t moment);
// The computer's offset from UTC now.
long CurrentUtcOffsetSeconds();

}  // namespace kv820
