#include "core/common/interruptible_clock.h"

#include <gtest/gtest.h>

#include <thread>

namespace kv820 {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

milliseconds Elapsed(steady_clock::time_point since) {
    return std::chrono::duration_cast<milliseconds>(steady_clock::now() - since);
}

TEST(InterruptibleClockTest, AnInterruptEndsASleepInProgress) {
    InterruptibleClock clock;
    const auto start = steady_clock::now();
    std::thread stopper([&] {
        std::this_thread::sleep_for(milliseconds(50));
        clock.interrupt();
    });
    clock.sleepFor(milliseconds(60000));
    stopper.join();
    EXPECT_LT(Elapsed(start), milliseconds(30000));
    EXPECT_TRUE(clock.interrupted());
}

TEST(InterruptibleClockTest, AfterAnInterruptEverySleepReturnsAtOnce) {
    InterruptibleClock clock;
    clock.interrupt();
    const auto start = steady_clock::now();
    for (int i = 0; i < 10; ++i) {
        clock.sleepFor(milliseconds(5000));
    }
    EXPECT_LT(Elapsed(start), milliseconds(5000));
}

TEST(InterruptibleClockTest, AScaleShortensEverySleepButKeepsItsOrder) {
    InterruptibleClock clock(0.01);
    const auto start = steady_clock::now();
    clock.sleepFor(milliseconds(5000));  // 50 ms
    const milliseconds took = Elapsed(start);
    EXPECT_GE(took, milliseconds(50));
    EXPECT_LT(took, milliseconds(4000));
    EXPECT_FALSE(clock.interrupted());
}

TEST(InterruptibleClockTest, NowFollowsTheSteadyClockWhateverTheScale) {
    InterruptibleClock clock(0.01);
    const milliseconds before = clock.now();
    std::this_thread::sleep_for(milliseconds(20));
    EXPECT_GE(clock.now() - before, milliseconds(20));
}

}  // namespace
}  // namespace kv820
