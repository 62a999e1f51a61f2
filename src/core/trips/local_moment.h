#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv820 {

// A stored local time ("YYYY/MM/DD", "HH:MM:SS") as seconds on the local calendar: days
// since 1970/01/01 times 86400 plus the time of day. No zone is looked up: trips are
// measured on the times the reports show, and a million reports cannot afford a zone
// lookup each. Across a daylight-saving change one leg looks an hour longer or shorter.
// Nothing when the texts name no moment.
std::optional<std::int64_t> localSecondsOf(std::string_view date, std::string_view time);

inline constexpr std::int64_t SecondsPerDay = 86400;

// The day (days since 1970/01/01) a moment falls on; moments before 1970 are negative.
inline std::int64_t dayOf(std::int64_t seconds) {
    return seconds >= 0 ? seconds / SecondsPerDay
                        : -((-seconds + SecondsPerDay - 1) / SecondsPerDay);
}

// "YYYY/MM/DD" of a day, and "YYYY/MM/DD hh:mm:ss" of a moment, as the store writes them.
std::string localDateText(std::int64_t day);
std::string localMomentText(std::int64_t seconds);

}  // namespace kv820
