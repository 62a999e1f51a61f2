#pragma once

#include <string_view>

namespace kv820 {

// A plain decimal number: an optional sign, digits with at most one decimal point and at
// least one digit ("-12.5", "+3", ".5", "7."); no exponent, no blanks.
bool IsDecimalText(std::string_view text);

// A decimal number whose magnitude is at most `limit` degrees (90 for a latitude, 180 for
// a longitude).
bool IsDegreesWithin(std::string_view text, double limit);

}  // namespace kv820
