#include "core/records/receive_range_builder.h"

#include "core/common/date_time_text.h"
#include "core/common/local_time.h"

namespace kv820 {

RangeTexts SearchRangeTexts(const PickedMoment& start, const PickedMoment& stop) {
    return {DateText(start.year, start.month, start.day),
            TimeText(start.hour, start.minute, start.second),
            DateText(stop.year, stop.month, stop.day),
            TimeText(stop.hour, stop.minute, stop.second)};
}

ReceiveRange SearchReceiveRange(std::string imei, const RangeTexts& texts) {
    return {std::move(imei), texts.startDate + texts.startTime, texts.stopDate + texts.stopTime};
}

ReceiveRange RecentReportsRange(std::string imei, const std::tm& localNow) {
    const int year = localNow.tm_year + 1900;
    const PickedMoment start{year - 1,         localNow.tm_mon + 1, localNow.tm_mday,
                             localNow.tm_hour, localNow.tm_min,     localNow.tm_sec};
    PickedMoment stop = start;
    stop.year = year + 1;
    return SearchReceiveRange(std::move(imei), SearchRangeTexts(start, stop));
}

std::tm LocalNow() {
    return LocalTimeAt(std::time(nullptr)).value_or(std::tm{});
}

}  // namespace kv820
