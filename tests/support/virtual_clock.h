#pragma once

#include <atomic>
#include <chrono>
#include <functional>

#include "core/common/clock.h"

namespace kv820::test {

// A clock that moves only when someone sleeps on it: conversations with seconds of
// pauses run in microseconds, and the pauses they asked for can be asserted.
class VirtualClock final : public Clock {
  public:
    std::chrono::milliseconds now() const override {
        return std::chrono::milliseconds(now_.load());
    }
    void sleepFor(std::chrono::milliseconds duration) override {
        if (onSleep) {
            onSleep();
        }
        advance(duration);
    }
    void advance(std::chrono::milliseconds duration) { now_ += duration.count(); }

    // Called as a pause begins, before the clock moves: a test may act in the middle of it.
    std::function<void()> onSleep;

  private:
    std::atomic<long long> now_{0};
};

}  // namespace kv820::test
