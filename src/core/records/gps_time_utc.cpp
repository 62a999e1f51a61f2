#include "core/records/gps_time_utc.h"

#include <ctime>

#include "core/common/local_time.h"
#include "core/common/number_text.h"

namespace kv820 {

namespace {

std::optional<std::tm> parseLocal(std::string_view date, std::string_view time) {
    const std::optional<DateTimeFields> fields = readDateAndTime(date, time);
    if (!fields) {
        return std::nullopt;
    }
    std::tm tm{};
    tm.tm_year = fields->year - 1900;
    tm.tm_mon = fields->month - 1;
    tm.tm_mday = fields->day;
    tm.tm_hour = fields->hour;
    tm.tm_min = fields->minute;
    tm.tm_sec = fields->second;
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
