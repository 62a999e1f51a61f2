#include "sim/tracker_module_simulator.h"

#include <gtest/gtest.h>

#include <chrono>

namespace kv820::sim {
namespace {

TEST(TrackerModule, BootLoaderAnswersTheFirmwareProbeAndRepeatsItsPrompt) {
    using namespace std::chrono_literals;
    TrackerModuleSimulator tracker;
    EXPECT_EQ(tracker.feed("1"), "C");
    const auto start = std::chrono::steady_clock::time_point{} + 1h;
    tracker.tick(start);
    tracker.tick(start + 500ms);
    EXPECT_EQ(tracker.takeOutput(), "");
    tracker.tick(start + 1s);
    tracker.tick(start + 2s);
    EXPECT_EQ(tracker.takeOutput(), "CC");
    tracker.feed("2");  // any other input ends the boot loader's wait
    tracker.tick(start + 5s);
    EXPECT_EQ(tracker.takeOutput(), "");
}

}  // namespace
}  // namespace kv820::sim
