#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/at/serial_link.h"

namespace kv820 {

// Resets the lines of every listed port with a short break, each through a short-lived
// link of its own; ports that do not open are skipped.
void PulseBreakOnListedPorts(const std::vector<std::string>& entries,
                             const std::function<std::unique_ptr<SerialLink>()>& makeLink);

}  // namespace kv820
