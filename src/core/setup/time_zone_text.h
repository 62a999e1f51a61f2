#pragma once

#include <string>

// The computer's offset (currentUtcOffsetSeconds) comes from the one portable wrapper of
// the zone calls.
#include "core/common/local_time.h"

namespace kv820 {

// The tracker's time-zone field: the hours to add to UTC, with two decimals and an
// explicit sign ("+8.00", "+5.50", "-5.00", "+0.00"), whatever the locale: a comma here
// would shift every later field of the setup message. utcOffsetSeconds is east of UTC,
// daylight saving included.
std::string timeZoneText(long utcOffsetSeconds);

}  // namespace kv820
