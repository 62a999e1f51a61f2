#pragma once

#include <chrono>
#include <stop_token>

#include "core/common/clock.h"

namespace kv820 {

// The time of another clock, whose waits a stop request ends: once `stop` is requested,
// every pause returns at once and every deadline has passed, so a conversation in progress
// reaches its end within one read and the thread that runs it can be joined without
// waiting out the device's pauses. A scale below 1 shortens every pause (whole sessions
// against a simulator).
class StoppableClock final : public Clock {
  public:
    StoppableClock(Clock& inner, std::stop_token stop, double pauseScale = 1.0)
        : inner_(inner), stop_(std::move(stop)), pauseScale_(pauseScale) {}

    std::chrono::milliseconds now() const override;
    void sleepFor(std::chrono::milliseconds duration) override;
    bool stopRequested() const { return stop_.stop_requested(); }

  private:
    Clock& inner_;
    std::stop_token stop_;
    double pauseScale_;
};

}  // namespace kv820
