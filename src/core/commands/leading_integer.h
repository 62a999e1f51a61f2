#pragma once

#include <cstdint>
#include <string_view>

namespace kv820 {

// The number a field stands for, read from its leading digits the way the tracker's
// settings are read: leading blanks are skipped, then an optional sign and the digits up to
// the first other character ("0060" is 60, "1.9" is 1, ".5" and "" are 0). A value beyond
// the 32-bit range saturates at the nearest limit instead of wrapping, so that a typed
// "4294967356" counts as far above any upper bound rather than as 60.
std::int32_t LeadingInt32(std::string_view text);

}  // namespace kv820
