#include "sim/tracker_module_simulator.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace kv820::sim {
namespace {

const char ListingCommand[] = "at^smgl=\"STO UNSENT\"\r";

TEST(TrackerModule, AnswersTheConnectSequenceByteForByte) {
    TrackerModuleSimulator tracker;
    EXPECT_EQ(tracker.feed("2"), "2");
    EXPECT_EQ(tracker.feed("at\r"), "at\r\r\nOK\r\n");
    EXPECT_EQ(tracker.feed("tr+fwv\r"), "tr+fwv\r\r\nKV-820V1.01(2007-05-12)\r\n\r\nOK\r\n");
    EXPECT_EQ(tracker.feed("at+cfun=1\r"), "at+cfun=1\r\r\nOK\r\n");
    EXPECT_EQ(tracker.feed("ati\r"), "ati\r\r\nSIEMENS\r\nMC35i\r\nREVISION 02.00\r\n\r\nOK\r\n");
    EXPECT_EQ(tracker.feed("at+cpin?\r"), "at+cpin?\r\r\n+CPIN: READY\r\n\r\nOK\r\n");
    EXPECT_EQ(tracker.feed("at+cmgf=1\r"), "at+cmgf=1\r\r\nOK\r\n");
    EXPECT_EQ(tracker.feed("at+cpms=\"ME\",\"ME\",\"MT\"\r"),
              "at+cpms=\"ME\",\"ME\",\"MT\"\r\r\n+CPMS: 4,25,4,25,4,25\r\n\r\nOK\r\n");
    EXPECT_EQ(tracker.feed(ListingCommand),
              "at^smgl=\"STO UNSENT\"\r\r\n"
              "^SMGL: 1,\"STO UNSENT\",\"+1\",,\r\n0,3,,,,,,,Tracker 1,+8.00,2,30,1,,5184,\r\n"
              "^SMGL: 2,\"STO UNSENT\",\"+2\",,\r\n,,,,,,,\r\n"
              "^SMGL: 3,\"STO UNSENT\",\"+3\",,\r\n5000,,,,,,\r\n"
              "^SMGL: 4,\"STO UNSENT\",\"+4\",,\r\n,\r\n"
              "\r\nOK\r\n");
    EXPECT_EQ(tracker.feed("at+cgsn\r"), "at+cgsn\r\r\n354612071234567\r\n\r\nOK\r\n");
    EXPECT_EQ(tracker.feed("at+cmgr=3\r"),
              "at+cmgr=3\r\r\n+CMGR: \"STO UNSENT\",\"+3\",\r\n5000,,,,,,\r\n\r\nOK\r\n");
}

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
