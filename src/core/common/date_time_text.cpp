#include "core/common/date_time_text.h"

#include <cstdio>

namespace kv820 {

std::string DateText(long long year, long long month, long long day) {
    char text[80];
    std::snprintf(text, sizeof text, "%.4lld/%.2lld/%.2lld", year, month, day);
    return text;
}

std::string TimeText(long long hour, long long minute, long long second) {
    char text[80];
    std::snprintf(text, sizeof text, "%.2lld:%.2lld:%.2lld", hour, minute, second);
    return text;
}

}  // namespace kv820
