#include "core/trips/local_moment.h"

#include <chrono>

#include "core/common/number_text.h"

namespace kv820 {

std::optional<std::int64_t> localSecondsOf(std::string_view date, std::string_view time) {
    const std::optional<DateTimeFields> fields = readDateAndTime(date, time);
    if (!fields) {
        return std::nullopt;
    }
    const std::chrono::sys_days day{std::chrono::year{fields->year} /
                                    std::chrono::month{static_cast<unsigned>(fields->month)} /
                                    std::chrono::day{static_cast<unsigned>(fields->day)}};
    return std::int64_t{day.time_since_epoch().count()} * SecondsPerDay + fields->hour * 3600 +
           fields->minute * 60 + fields->second;
}

std::string localDateText(std::int64_t day) {
    const std::chrono::year_month_day date{std::chrono::sys_days{std::chrono::days{day}}};
    return dateText(int{date.year()}, unsigned{date.month()}, unsigned{date.day()});
}

std::string localMomentText(std::int64_t seconds) {
    const std::int64_t ofDay = seconds - dayOf(seconds) * SecondsPerDay;
    return localDateText(dayOf(seconds)) + " " +
           timeText(ofDay / 3600, ofDay / 60 % 60, ofDay % 60);
}

}  // namespace kv820
