#include "core/common/date_time_text.h"

#include "core/common/number_text.h"

namespace kv820 {

std::string DateText(long long year, long long month, long long day) {
    return ZeroPadded(year, 4) + '/' + ZeroPadded(month, 2) + '/' + ZeroPadded(day, 2);
}

std::string TimeText(long long hour, long long minute, long long second) {
    return ZeroPadded(hour, 2) + ':' + ZeroPadded(minute, 2) + ':' + ZeroPadded(second, 2);
}

}  // namespace kv820
