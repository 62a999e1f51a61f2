#pragma once

#include <atomic>
#include <chrono>

#include "core/common/clock.h"

namespace kv820 {

// Waits `duration` on `clock` in short steps so that a worker asked to stop does not sit out
// a long pause. Returns false when `stop` was set before the whole wait had passed.
bool SleepUnlessStopped(Clock& clock, std::chrono::milliseconds duration,
                        const std::atomic<bool>& stop);

}  // namespace kv820
