#pragma once

#include <string>
#include <string_view>

namespace kv820 {

// The web map service the operator's browser opens (scheme and host, no trailing slash).
inline constexpr std::string_view WebMapBaseAddress = "https://maps.google.com";

// The map address of a point: "/maps?q=" latitude "+" longitude "&h=en&t=h" after the
// base. The texts go in unchanged (they are signed decimal degrees already). Note the
// argument order, longitude first, as every caller holds the pair.
std::string webMapAddress(std::string_view longitude, std::string_view latitude);

}  // namespace kv820
