#pragma once

#include <atomic>
#include <chrono>
#include <memory>

#include "core/common/clock.h"

namespace kv820 {

// A clock that a closing window can run out: once stopped, every pause returns at once and
// every deadline has passed, so a conversation in progress reaches its end within one read
// and the thread that runs it can be joined without waiting out the tracker's pauses.
class StoppableClock final : public Clock {
  public:
    explicit StoppableClock(std::unique_ptr<Clock> inner) : inner_(std::move(inner)) {}

    std::chrono::milliseconds now() const override;
    void sleepFor(std::chrono::milliseconds duration) override;
    // Callable from any thread.
    void stop() { stopped_ = true; }

  private:
    std::unique_ptr<Clock> inner_;
    std::atomic<bool> stopped_{false};
};

}  // namespace kv820
