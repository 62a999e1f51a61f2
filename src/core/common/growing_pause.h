#pragma once

#include <algorithm>
#include <chrono>

namespace kv820 {

// The pause before the next attempt at something that failed (a modem, a database): it
// doubles after each attempt, up to the longest, and starts over once an attempt succeeds.
class GrowingPause {
  public:
    GrowingPause(std::chrono::milliseconds first, std::chrono::milliseconds longest)
        : first_(first), longest_(longest), next_(first) {}

    // The pause to wait now; the one after it is twice as long.
    std::chrono::milliseconds take() {
        const std::chrono::milliseconds pause = next_;
        next_ = std::min(next_ * 2, longest_);
        return pause;
    }
    void reset() { next_ = first_; }

  private:
    std::chrono::milliseconds first_;
    std::chrono::milliseconds longest_;
    std::chrono::milliseconds next_;
};

}  // namespace kv820
