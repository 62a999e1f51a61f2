#include "core/records/search_range.h"

#include "core/common/date_time_text.h"
#include "core/common/local_time.h"

namespace kv820 {

std::string SearchRange::Moment::date() const {
    return DateText(year, month, day);
}

std::string SearchRange::Moment::time() const {
    return TimeText(hour, minute, second);
}

std::string SearchRange::title() const {
    return userName + ':' + start.date() + '-' + start.time() + '~' + stop.date() + '-' +
           stop.time();
}

ReceiveRange SearchRange::receiveRange(std::string imei) const {
    return {std::move(imei), start.date() + start.time(), stop.date() + stop.time()};
}

SearchRange SearchRange::YearsAround(const std::tm& localNow) {
    const int year = localNow.tm_year + 1900;
    const Moment start{year - 1,         localNow.tm_mon + 1, localNow.tm_mday,
                       localNow.tm_hour, localNow.tm_min,     localNow.tm_sec};
    Moment stop = start;
    stop.year = year + 1;
    return {{}, start, stop};
}

std::tm LocalNow() {
    return LocalTimeAt(std::time(nullptr)).value_or(std::tm{});
}

}  // namespace kv820
