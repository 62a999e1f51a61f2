#pragma once

#include <chrono>

namespace kv820 {

// Time as device conversations see it. Conversations only ever wait through a Clock, so
// that tests run them on a virtual clock without real waiting.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual std::chrono::milliseconds now() const = 0;  // monotonic
    virtual void sleepFor(std::chrono::milliseconds duration) = 0;
};

class SystemClock final : public Clock {
  public:
    std::chrono::milliseconds now() const override;
    void sleepFor(std::chrono::milliseconds duration) override;
};

// The system clock, for whatever keeps time and is handed no other clock.
Clock& systemClock();

}  // namespace kv820
