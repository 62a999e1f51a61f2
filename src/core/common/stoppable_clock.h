#pragma once

#include <chrono>
#include <stop_token>

#include "core/common/clock.h"

namespace kv820 {

// The time of another clock, whose waits a stop request ends: once `stop` is requested,
// every pause returns at once and every deadline has passed, so a conversation in progress
// reaches its end within one read and the thread that runs it can be joined without
// waiting out the device's pauses.
class StoppableClock final : public Clock {
  public:
    StoppableClock(Clock& inner, std::stop_token stop) : inner_(inner), stop_(std::move(stop)) {}

    std::chrono::milliseconds now() const override;
    void sleepFor(std::chrono::milliseconds duration) override;
    bool stopRequested() const { return stop_.stop_requested(); }

  private:
    Clock& inner_;
    std::stop_token stop_;
};

}  // namespace kv820
