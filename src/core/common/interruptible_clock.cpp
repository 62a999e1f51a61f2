#include "core/common/interruptible_clock.h"

namespace kv820 {

std::chrono::milliseconds InterruptibleClock::now() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

void InterruptibleClock::sleepFor(std::chrono::milliseconds duration) {
    const auto scaled = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::duration<double, std::milli>(duration.count() * sleepScale_));
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, scaled, [this] { return interrupted_; });
}

void InterruptibleClock::interrupt() {
    {
        std::lock_guard lock(mutex_);
        interrupted_ = true;
    }
    wake_.notify_all();
}

bool InterruptibleClock::interrupted() const {
    std::lock_guard lock(mutex_);
    return interrupted_;
}

}  // namespace kv820
