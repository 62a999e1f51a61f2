#include "sim/sms_timestamp.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "core/common/local_time.h"

namespace kv820::sim {

std::string SmsTimestamp::toText() const {
    char text[48];
    const char sign = zoneQuarterHours < 0 ? '-' : '+';
    std::snprintf(text, sizeof text, "%02d/%02d/%02d,%02d:%02d:%02d%c%02d", year % 100, month, day,
                  hour, minute, second, sign, std::abs(zoneQuarterHours));
    return text;
}

SmsTimestamp SmsTimestamp::nowUtc() {
    const std::tm utc = kv820::utcTimeAt(std::time(nullptr)).value_or(std::tm{});
    return SmsTimestamp{
        utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, 0};
}

}  // namespace kv820::sim
