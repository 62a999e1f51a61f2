#pragma once

#include <chrono>
#include <thread>

#include "core/common/clock.h"

namespace kv820::test {

// Real time, with every pause a tenth as long: a tracker's pacing pauses shrink while the
// reads still wait for real bytes from the simulator.
class FastClock final : public Clock {
  public:
    std::chrono::milliseconds now() const override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now().time_since_epoch());
    }
    void sleepFor(std::chrono::milliseconds duration) override {
        std::this_thread::sleep_for(duration / 10);
    }
};

}  // namespace kv820::test
