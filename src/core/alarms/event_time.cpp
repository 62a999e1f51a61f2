#include "core/alarms/event_time.h"

#include <optional>

#include "core/common/local_time.h"
#include "core/common/number_text.h"

namespace kv820 {

bool isEventTimeText(std::string_view text) {
    return text.size() == 19 && text[10] == ' ' &&
           readDateAndTime(text.substr(0, 10), text.substr(11)).has_value();
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
