#include "core/alarms/event_time.h"

#include <algorithm>
#include <optional>

#include "core/common/local_time.h"
#include "core/common/number_text.h"

namespace kv820 {

namespace {

constexpr std::string_view Pattern = "0000/00/00 00:00:00";

std::optional<int> fieldAt(std::string_view text, std::size_t offset, std::size_t width) {
    const std::string_view digits = text.substr(offset, width);
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    return leadingInt32(digits);
}

}  // namespace

bool isEventTimeText(std::string_view text) {
    if (text.size() != Pattern.size()) {
        return false;
    }
    for (std::size_t i = 0; i < Pattern.size(); ++i) {
        if (Pattern[i] != '0' && text[i] != Pattern[i]) {
            return false;
        }
    }
    const auto year = fieldAt(text, 0, 4), month = fieldAt(text, 5, 2), day = fieldAt(text, 8, 2),
               hour = fieldAt(text, 11, 2), minute = fieldAt(text, 14, 2),
               second = fieldAt(text, 17, 2);
    if (!year || !month || !day || !hour || !minute || !second) {
        return false;
    }
    return *year >= 1 && *month >= 1 && *month <= 12 && *day >= 1 &&
           *day <= daysInMonth(*year, *month) && *hour < 24 && *minute < 60 && *second < 60;
}

std::string eventTimeText(const std::tm& local) {
    return dateText(local.tm_year + 1900LL, local.tm_mon + 1LL, local.tm_mday) + " " +
           timeText(local.tm_hour, local.tm_min, local.tm_sec);
}

std::string eventTimeTextAt(std::time_t moment) {
    const std::optional<std::tm> local = localTimeAt(moment);
    return local ? eventTimeText(*local) : std::string();
}

std::string acknowledgerName() {
    std::string name = currentUserName();
    return name.empty() ? std::string("operator") : name;
}

}  // namespace kv820
