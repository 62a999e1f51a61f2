#pragma once

#include <atomic>
#include <chrono>

#include "core/common/clock.h"

namespace kv820::test {

// Real time for reads on a real line, but pauses are skipped: sleeping moves the clock on
// without waiting. Lets a conversation with seconds of pauses run against a simulator on
// a pseudo-terminal in the time its reads take.
class SkippingClock final : public Clock {
  public:
    std::chrono::milliseconds now() const override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch()) +
               std::chrono::milliseconds(skipped_.load());
    }
    void sleepFor(std::chrono::milliseconds duration) override { skipped_ += duration.count(); }
    // The pauses asked for so far.
    std::chrono::milliseconds slept() const { return std::chrono::milliseconds(skipped_.load()); }

  private:
    std::atomic<long long> skipped_{0};
};

}  // namespace kv820::test
