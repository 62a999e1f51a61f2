#include "core/commands/input_validators.h"

#include <algorithm>

namespace kv820 {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool AllOf(std::string_view text, bool (*accepts)(char)) {
    return std::all_of(text.begin(), text.end(), accepts);
}

}  // namespace

bool IsDigitString(std::string_view text) {
    return AllOf(text, IsDigit);
}

bool IsCoordinateString(std::string_view text) {
    if (text.empty() || !(text.front() == '-' || IsDigit(text.front()))) {
        return false;
    }
    return AllOf(text.substr(1), [](char c) { return IsDigit(c) || c == '.'; });
}

bool IsPhoneString(std::string_view text) {
    if (text.empty() || !(text.front() == '+' || IsDigit(text.front()))) {
        return false;
    }
    return AllOf(text.substr(1), IsDigit);
}

}  // namespace kv820
