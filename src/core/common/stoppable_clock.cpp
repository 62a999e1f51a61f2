#include "core/common/stoppable_clock.h"

#include <algorithm>

namespace kv820 {

namespace {
// Far beyond every bound a conversation waits for (the longest is 10 s).
constexpr std::chrono::hours RunOut{24};
// A pause is cut into slices this long, so that a stop ends it promptly.
constexpr std::chrono::milliseconds Slice{20};
}  // namespace

std::chrono::milliseconds StoppableClock::now() const {
    return stop_.stop_requested() ? inner_.now() + RunOut : inner_.now();
}

void StoppableClock::sleepFor(std::chrono::milliseconds duration) {
    auto left = duration;
    while (left.count() > 0 && !stop_.stop_requested()) {
        const auto slice = std::min(left, std::chrono::milliseconds(Slice));
        inner_.sleepFor(slice);
        left -= slice;
    }
}

}  // namespace kv820
