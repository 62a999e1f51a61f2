#include "core/records/search_criteria.h"

#include "core/common/local_time.h"
#include "core/common/number_text.h"

namespace kv820 {

std::string SearchCriteria::title() const {
    return userName + ':' + start.date() + '-' + start.time() + '~' + stop.date() + '-' +
           stop.time();
}

ReceiveRange SearchCriteria::receiveRange(std::string imei) const {
    return {std::move(imei), start.date() + start.time(), stop.date() + stop.time()};
}

SearchCriteria SearchCriteria::yearsAround(const std::tm& localNow) {
    const int year = localNow.tm_year + 1900;
    const Moment start{year - 1,         localNow.tm_mon + 1, localNow.tm_mday,
                       localNow.tm_hour, localNow.tm_min,     localNow.tm_sec};
    Moment stop = start;
    stop.year = year + 1;
    return {{}, start, stop};
}

std::tm localNow() {
    return localTimeAt(std::time(nullptr)).value_or(std::tm{});
}

}  // namespace kv820
