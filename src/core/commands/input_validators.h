#pragma once

#include <string_view>

namespace kv820 {

// Character-class checks shared by the command pages and the setup editor. They check
// the characters only, never a range: "-", "1.2.3" and "+" are accepted where noted.

// Only '0'..'9'; the empty text passes.
bool IsDigitString(std::string_view text);
// First '-' or a digit, then digits and '.'; the empty text fails ("-" passes).
bool IsCoordinateString(std::string_view text);
// First '+' or a digit, then digits; the empty text fails ("+" passes).
bool IsPhoneString(std::string_view text);

}  // namespace kv820
