#include "core/records/decimal_text.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace kv820 {

bool IsDecimalText(std::string_view text) {
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        text.remove_prefix(1);
    }
    bool digit = false;
    bool point = false;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

bool IsDegreesWithin(std::string_view text, double limit) {
    if (!IsDecimalText(text)) {
        return false;
    }
    return std::fabs(std::strtod(std::string(text).c_str(), nullptr)) <= limit;
}

}  // namespace kv820
