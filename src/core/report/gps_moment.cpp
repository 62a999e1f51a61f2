#include "core/report/gps_moment.h"

#include <cstdint>
#include <ctime>
#include <optional>

#include "core/common/local_time.h"
#include "core/common/number_text.h"
#include "core/common/text_from.h"

namespace kv820 {

namespace {

// Three fields packed as six digits "AABBCC": the whole number, the number from the third
// character and the number from the fifth give AA, BB and CC by subtraction, so a piece
// with fewer digits still yields fields (of unusual values) instead of failing.
struct PackedFields {
    std::int64_t first;
    std::int64_t second;
    std::int64_t third;
};

PackedFields readPackedFields(std::string_view piece) {
    const std::int64_t all = leadingInt32(piece).value_or(0);
    const std::int64_t fromThird = leadingInt32(textFrom(piece, 2)).value_or(0);
    const std::int64_t fromFifth = leadingInt32(textFrom(piece, 4)).value_or(0);
    return {(all - fromThird) / 100 / 100, (fromThird - fromFifth) / 100, fromFifth};
}

struct Moment {
    std::int64_t year, month, day, hour, minute, second;
};

bool isCalendarMoment(const Moment& m) {
    return m.year >= 1970 && m.year <= 9999 && m.month >= 1 && m.month <= 12 && m.day >= 1 &&
           m.day <= daysInMonth(m.year, static_cast<int>(m.month)) && m.hour >= 0 && m.hour <= 23 &&
           m.minute >= 0 && m.minute <= 59 && m.second >= 0 && m.second <= 59;
}

// The moment in the computer's zone, with the zone rules in force then; nothing when the
// C library cannot represent it (Windows' stops at the year 3000).
std::optional<std::tm> localFieldsOf(const Moment& m) {
    std::tm utc{};
    utc.tm_year = static_cast<int>(m.year - 1900);
    utc.tm_mon = static_cast<int>(m.month - 1);
    utc.tm_mday = static_cast<int>(m.day);
    utc.tm_hour = static_cast<int>(m.hour);
    utc.tm_min = static_cast<int>(m.minute);
    utc.tm_sec = static_cast<int>(m.second);
    const std::optional<std::time_t> seconds = momentOfUtc(utc);
    return seconds ? localTimeAt(*seconds) : std::nullopt;
}

}  // namespace

GpsMomentText gpsLocalMoment(std::string_view datePiece, std::string_view timePiece) {
    const PackedFields date = readPackedFields(datePiece);
    const PackedFields time = readPackedFields(timePiece);
    const Moment utc{2000 + date.third, date.second, date.first,
                     time.first,        time.second, time.third};
    // A moment that is no calendar moment, or that the C library cannot convert, is stored
    // as it came.
    const std::optional<std::tm> local = isCalendarMoment(utc) ? localFieldsOf(utc) : std::nullopt;
    if (!local) {
        return {dateText(utc.year, utc.month, utc.day), timeText(utc.hour, utc.minute, utc.second)};
    }
    return {dateText(local->tm_year + 1900LL, local->tm_mon + 1LL, local->tm_mday),
            timeText(local->tm_hour, local->tm_min, local->tm_sec)};
}

}  // namespace kv820
