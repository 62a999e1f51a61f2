#include "core/common/clock.h"

#include <thread>

namespace kv820 {

std::chrono::milliseconds SystemClock::now() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

void SystemClock::sleepFor(std::chrono::milliseconds duration) {
    std::this_thread::sleep_for(duration);
}

Clock& systemClock() {
    static SystemClock clock;
    return clock;
}

}  // namespace kv820
