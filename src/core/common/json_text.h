#pragma once

#include <string>
#include <string_view>

namespace kv820 {

// Appends `text` (UTF-8) as a JSON string literal, quotes included: quotes, backslashes and
// control characters are escaped, and so are "<", ">" and "&", so that the literal can be
// pasted into a script of a web page without closing it.
void appendJsonString(std::string& out, std::string_view text);

// Appends a number with `decimals` digits after the point, written without the locale.
void appendJsonNumber(std::string& out, double value, int decimals);

}  // namespace kv820
