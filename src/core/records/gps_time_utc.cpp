#include "core/records/gps_time_utc.h"

#include <ctime>

#include "core/common/local_time.h"
#include "core/common/number_text.h"

namespace kv820 {

namespace {

// Reads exactly `digits` decimal digits starting at text[pos].
std::optional<int> FixedNumber(std::string_view text, std::size_t pos, std::size_t digits) {
    int value = 0;
    for (std::size_t i = pos; i < pos + digits; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return std::nullopt;
        }
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// Fills year, month, day, hour, minute, second from "YYYY/MM/DD" and "HH:MM:SS".
std::optional<std::tm> ParseLocal(std::string_view date, std::string_view time) {
    if (date.size() != 10 || date[4] != '/' || date[7] != '/' || time.size() != 8 ||
        time[2] != ':' || time[5] != ':') {
        return std::nullopt;
    }
    const auto year = FixedNumber(date, 0, 4), month = FixedNumber(date, 5, 2),
               day = FixedNumber(date, 8, 2), hour = FixedNumber(time, 0, 2),
               minute = FixedNumber(time, 3, 2), second = FixedNumber(time, 6, 2);
    if (!year || !month || !day || !hour || !minute || !second) {
        return std::nullopt;
    }
    std::tm tm{};
    tm.tm_year = *year - 1900;
    tm.tm_mon = *month - 1;
    tm.tm_mday = *day;
    tm.tm_hour = *hour;
    tm.tm_min = *minute;
    tm.tm_sec = *second;
    tm.tm_isdst = -1;  // let the zone rules of that moment decide
    return tm;
}

}  // namespace

std::optional<std::string> GpsLocalTimeToUtcIso(std::string_view date, std::string_view time) {
    const std::optional<std::tm> parsed = ParseLocal(date, time);
    if (!parsed) {
        return std::nullopt;
    }
    std::tm local = *parsed;
    const std::optional<std::time_t> moment = MomentOfLocal(local);
    // Out-of-range fields are normalised (month 0, 31 April); such a text names no
    // moment. The hour may move only across a daylight-saving gap.
    if (!moment || local.tm_year != parsed->tm_year || local.tm_mon != parsed->tm_mon ||
        local.tm_mday != parsed->tm_mday || local.tm_min != parsed->tm_min ||
        local.tm_sec != parsed->tm_sec || parsed->tm_hour > 23) {
        return std::nullopt;
    }
    const std::optional<std::tm> utc = UtcTimeAt(*moment);
    if (!utc) {
        return std::nullopt;
    }
    return ZeroPadded(utc->tm_year + 1900, 4) + '-' + ZeroPadded(utc->tm_mon + 1, 2) + '-' +
           ZeroPadded(utc->tm_mday, 2) + 'T' + ZeroPadded(utc->tm_hour, 2) + ':' +
           ZeroPadded(utc->tm_min, 2) + ':' + ZeroPadded(utc->tm_sec, 2) + 'Z';
}

}  // namespace kv820
