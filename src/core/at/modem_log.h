#pragma once

#include <functional>
#include <string_view>

namespace kv820 {

// Where a conversation writes what the operator sees in the modem log: modem lines,
// commands as written, replies and status texts, each appended exactly as given.
using ModemLog = std::function<void(std::string_view text)>;

}  // namespace kv820
