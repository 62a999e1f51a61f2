#include "core/records/gps_time_utc.h"

#include <ctime>

#include "core/common/local_time.h"
#include "core/common/number_text.h"

namespace kv820 {

namespace {

// Reads exactly `digits` decimal digits starting at text[pos].
std::optional<int> fixedNumber(std::string_view text, std::size_t pos, std::size_t digits) {
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
std::optional<std::tm> parseLocal(std::string_view date, std::string_view time) {
    if (date.size() != 10 || date[4] != '/' || date[7] != '/' || time.size() != 8 ||
        time[2] != ':' || time[5] != ':') {
        return std::nullopt;
    }
    const auto year = fixedNumber(date, 0, 4), month = fixedNumber(date, 5, 2),
               day = fixedNumber(date, 8, 2), hour = fixedNumber(time, 0, 2),
               minute = fixedNumber(time, 3, 2), second = fixedNumber(time, 6, 2);
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

std::optional<std::string> gpsLocalTimeToUtcIso(std::string_view date, std::string_view time) {
    const std::optional<std::tm> parsed = parseLocal(date, time);
    if (!parsed) {
        return std::nullopt;
    }
    std::tm local = *parsed;
    const std::optional<std::time_t> moment = momentOfLocal(local);
    // Out-of-range fields are normalised (month 0, 31 April); such a text names no
    // moment. The hour may move only across a daylight-saving gap.
    if (!moment || local.tm_year != parsed->tm_year || local.tm_mon != parsed->tm_mon ||
        local.tm_mday != parsed->tm_mday || local.tm_min != parsed->tm_min ||
        local.tm_sec != parsed->tm_sec || parsed->tm_hour > 23) {
        return std::nullopt;
    }
    const std::optional<std::tm> utc = utcTimeAt(*moment);
    if (!utc) {
        return std::nullopt;
    }
    return zeroPadded(utc->tm_year + 1900, 4) + '-' + zeroPadded(utc->tm_mon + 1, 2) + '-' +
           zeroPadded(utc->tm_mday, 2) + 'T' + zeroPadded(utc->tm_hour, 2) + ':' +
           zeroPadded(utc->tm_min, 2) + ':' + zeroPadded(utc->tm_sec, 2) + 'Z';
}

}  // namespace kv820
