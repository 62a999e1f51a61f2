#pragma once

#include <ctime>
#include <optional>
#include <string>

namespace kv820 {

// The C library's calendar, zone and user calls differ between Linux and Windows
// (timegm/_mkgmtime, localtime_r/localtime_s, tm_gmtoff, $USER/%USERNAME%); they are
// made here and nowhere else, so that the rest of the program is the same everywhere.
// The zone is read again on every call, so a zone changed while the program runs (or by
// a test) is seen.

// The calendar fields of a moment in the computer's zone; nothing when the moment cannot
// be represented.
std::optional<std::tm> localTimeAt(std::time_t moment);
// The days of a month (1-12) of the Gregorian calendar.
int daysInMonth(long long year, int month);
// The calendar fields of a moment in UTC.
std::optional<std::tm> utcTimeAt(std::time_t moment);
// The moment whose UTC calendar fields these are (out-of-range fields are normalised into
// `fields`); nothing when there is none.
std::optional<std::time_t> momentOfUtc(std::tm& fields);
// The moment whose local calendar fields these are, with the zone rules of that moment
// (tm_isdst -1 lets them decide; fields are normalised as by mktime); nothing when none.
std::optional<std::time_t> momentOfLocal(std::tm& fields);

// The computer's offset from UTC at the given moment in seconds east, daylight saving
// included.
long utcOffsetSecondsAt(std::time_t moment);
// The computer's offset from UTC now.
long currentUtcOffsetSeconds();

// The name of the user running the program; empty when the system does not say.
std::string currentUserName();

}  // namespace kv820
