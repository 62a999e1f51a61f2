#include "app/setup/stoppable_clock.h"

#include <algorithm>

namespace kv820 {

namespace {
// Far beyond every bound a conversation waits for (the longest is 10 s).
constexpr std::chrono::hours RunOut{24};
// A stopped pause is cut into slices this long, so that stop() ends it promptly.
constexpr std::chrono::milliseconds Slice{20};
}  // namespace

std::chrono::milliseconds StoppableClock::now() const {
    return stopped_ ? inner_->now() + RunOut : inner_->now();
}

void StoppableClock::sleepFor(std::chrono::milliseconds duration) {
    while (duration.count() > 0 && !stopped_) {
        const auto slice = std::min(duration, std::chrono::milliseconds(Slice));
        inner_->sleepFor(slice);
        duration -= slice;
    }
}

}  // namespace kv820
