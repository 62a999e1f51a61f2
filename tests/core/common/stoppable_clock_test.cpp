#include "core/common/stoppable_clock.h"

#include <gtest/gtest.h>

#include "support/virtual_clock.h"

namespace kv820 {
namespace {

using std::chrono::milliseconds;

// A virtual clock on which a stop is requested once it has moved `after`.
class StoppingClock final : public Clock {
  public:
    StoppingClock(std::stop_source& stop, milliseconds after) : stop_(stop), after_(after) {}
    milliseconds now() const override { return time_.now(); }
    void sleepFor(milliseconds duration) override {
        time_.sleepFor(duration);
        if (time_.now() >= after_) {
            stop_.request_stop();
        }
    }

  private:
    test::VirtualClock time_;
    std::stop_source& stop_;
    milliseconds after_;
};

TEST(StoppableClockTest, AStopEndsAPauseInProgressAndRunsOutEveryDeadline) {
    std::stop_source stop;
    StoppingClock inner(stop, milliseconds(100));
    StoppableClock clock(inner, stop.get_token());
    clock.sleepFor(milliseconds(60000));
    EXPECT_EQ(inner.now(), milliseconds(100));
    clock.sleepFor(milliseconds(5000));
    EXPECT_EQ(inner.now(), milliseconds(100));
    EXPECT_GE(clock.now(), milliseconds(100) + std::chrono::hours(1));
}

}  // namespace
}  // namespace kv820
