#pragma once

namespace kv820::test {

// For the few expectations that differ between the systems on purpose; each names why.
#ifdef _WIN32
inline constexpr bool OnWindows = true;
#else
inline constexpr bool OnWindows = false;
#endif

}  // namespace kv820::test
