#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv820 {

// Numbers as the devices write them, read and written without the C locale: the Qt
// application sets the user's locale, which would turn "25.5" into 25 for strtod and
// write "25,500000" for printf.

// The whole number a text starts with: leading blanks, an optional sign, then digits
// (what follows is ignored). nullopt when no digit comes first. Values beyond 32 bits
// saturate instead of wrapping, so "4294967356" stays a large number, not 60.
std::optional<std::int32_t> LeadingInt32(std::string_view text);

// The decimal number a text starts with: leading blanks, an optional sign when
// `signAllowed`, digits with an optional fraction ("12.5", ".5", "7."). 0 when there is
// none. No exponent, no "inf" or "nan": such texts are not device numbers.
double LeadingDecimal(std::string_view text, bool signAllowed = true);

// The value with exactly `decimals` digits after the point, as printf "%.Nf" writes it
// in the C locale ("18.5200" for 18.52 with 4).
std::string FixedDecimal(double value, int decimals);

}  // namespace kv820
