#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kv820 {

// Receives each status-line text of a setup conversation as it happens; the empty text
// clears the status line. The wizard and the Setup File dialog show it.
using SetupProgress = std::function<void(std::string_view statusText)>;

}  // namespace kv820
