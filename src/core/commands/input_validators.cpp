#include "core/commands/input_validators.h"

#include <algorithm>

namespace kv820 {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool allOf(std::string_view text, bool (*accepts)(char)) {
    return std::all_of(text.begin(), text.end(), accepts);
}

}  // namespace

bool IsDigitString(std::string_view text) {
    return allOf(text, isDigit);
}

bool IsCoordinateString(std::string_view text) {
    if (text.empty() || !(text.front() == '-' || isDigit(text.front()))) {
        return false;
    }
    return allOf(text.substr(1), [](char c) { return isDigit(c) || c == '.'; });
}

bool IsPhoneString(std::string_view text) {
    if (text.empty() || !(text.front() == '+' || isDigit(text.front()))) {
        return false;
    }
    return allOf(text.substr(1), isDigit);
}

}  // namespace kv820
