#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "core/common/clock.h"

namespace kv820 {

// The system clock with sleeps that another thread can cut short: once interrupted, every
// sleep returns at once. A session being stopped during its modem start (two pauses of
// five seconds) then ends after its pending reads instead of after the pauses. A scale
// below 1 shortens every sleep (tests of whole sessions against a simulator).
class InterruptibleClock final : public Clock {
  public:
    explicit InterruptibleClock(double sleepScale = 1.0) : sleepScale_(sleepScale) {}

    std::chrono::milliseconds now() const override;
    void sleepFor(std::chrono::milliseconds duration) override;

    // Any thread. Ends a sleep in progress and makes every later one return at once.
    void interrupt();
    bool interrupted() const;

  private:
    double sleepScale_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool interrupted_ = false;
};

}  // namespace kv820
