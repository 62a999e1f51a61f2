#pragma once

#include <chrono>
#include <functional>

#include "core/at/com_port.h"

namespace kv820 {

// After a wake character, a module is given up to `bound` to wake. Rather than sleeping all
// of it, this asks "at" until the module answers "OK": one that answers at once costs one
// exchange, one that needs the whole pause still gets it. `onSecond` is called for every
// whole second waited (progress texts). True once the module answered.
bool awaitModemAnswer(ComPort& port, std::chrono::milliseconds bound,
                      const std::function<void()>& onSecond = {});

}  // namespace kv820
