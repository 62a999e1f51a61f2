#include "core/common/stoppable_sleep.h"

#include <algorithm>

namespace kv820 {

namespace {
// Short enough that a stop is seen at once by a person, long enough not to spin.
constexpr std::chrono::milliseconds kStep{50};
}  // namespace

bool SleepUnlessStopped(Clock& clock, std::chrono::milliseconds duration,
                        const std::atomic<bool>& stop) {
    const auto deadline = clock.now() + duration;
    while (!stop.load()) {
        const auto now = clock.now();
        if (now >= deadline) {
            return true;
        }
        clock.sleepFor(std::min(kStep, deadline - now));
    }
    return false;
}

}  // namespace kv820
