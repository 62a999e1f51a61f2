#include "core/ports/scan_probe.h"

#include <gtest/gtest.h>

#include "core/common/stoppable_clock.h"
#include "support/fake_serial_link.h"
#include "support/virtual_clock.h"

namespace kv820 {
namespace {

using namespace std::chrono_literals;
using Writes = std::vector<std::string>;

constexpr char Identity[] = "\r\nSIEMENS\r\nMC35i\r\nREVISION 02.00\r\n\r\nOK\r\n";

class ScanProbeTest : public testing::Test {
  protected:
    bool probe(ScanVariant variant) {
        return ScanProbe(variant, port).probe("ttyUSB0:", stop.get_token());
    }

    test::VirtualClock clock;
    test::FakeSerialLink link{clock};
    std::stop_source stop;
    StoppableClock stoppable{clock, stop.get_token()};
    ComPort port{link, stoppable};
};

TEST_F(ScanProbeTest, SmsCommandWakesWithTwoAndAsksAtiOnce) {
    link.replyTo("ati\r", Identity);
    EXPECT_TRUE(probe(ScanVariant::SmsCommand));
    EXPECT_EQ(link.openedPaths, Writes{"ttyUSB0"});
    EXPECT_EQ(link.writes, (Writes{"2", "ati\r"}));
    EXPECT_EQ(link.closeCount, 1);
    EXPECT_FALSE(link.isOpen());
    // The wake's read runs out, the pause after the wake, the answer ends its read at its
    // final result, then the rest after closing.
    EXPECT_EQ(clock.now(), 500ms + 5000ms + 1000ms);
}

// An identity in the reply to "at" does not count: only the "ati" reply decides.
TEST_F(ScanProbeTest, SetupWizardClearsTheLineWithAtAndDecidesOnTheAtiReply) {
    link.replyTo("at\r", Identity, 0);
    link.replyTo("ati\r", "\r\nERROR\r\n");
    EXPECT_FALSE(probe(ScanVariant::SetupWizard));
    link.replyTo("ati\r", Identity);
    EXPECT_TRUE(probe(ScanVariant::SetupWizard));
    EXPECT_EQ(link.writes, (Writes{"2", "at\r", "ati\r", "2", "at\r", "ati\r"}));
}

TEST_F(ScanProbeTest, FirmwareWizardWakesWithOneAndOnlyListens) {
    link.feedAfter(2000ms, "C");
    EXPECT_TRUE(probe(ScanVariant::FirmwareWizard));
    EXPECT_EQ(link.writes, Writes{"1"});
    EXPECT_EQ(link.closeCount, 1);
    // An answer to the wake itself is dropped.
    link.replyTo("1", "C");
    EXPECT_FALSE(probe(ScanVariant::FirmwareWizard));
}

TEST_F(ScanProbeTest, ASilentPortIsWaitedForFiveSecondsAfterTheWakeAndOneAfterClosing) {
    // The wake read runs out (500 ms), the pause after the wake, the "ati" read runs out
    // (500 ms), then the rest after closing.
    EXPECT_FALSE(probe(ScanVariant::SmsCommand));
    EXPECT_EQ(clock.now(), 500ms + 5000ms + 500ms + 1000ms);
}

TEST_F(ScanProbeTest, APortThatDoesNotOpenDoesNotAnswer) {
    link.openSucceeds = false;
    link.replyTo("ati\r", Identity);
    EXPECT_FALSE(probe(ScanVariant::SmsCommand));
    EXPECT_EQ(link.openedPaths, Writes{"ttyUSB0"});
    EXPECT_TRUE(link.writes.empty());
}

TEST_F(ScanProbeTest, AStopDuringThePauseClosesThePortAndAsksNothingMore) {
    link.replyTo("ati\r", Identity);
    link.onWrite = [this](test::FakeSerialLink&, std::string_view written) {
        if (written == "2") {
            stop.request_stop();
        }
    };
    EXPECT_FALSE(probe(ScanVariant::SmsCommand));
    EXPECT_EQ(link.writes, Writes{"2"});
    EXPECT_EQ(link.closeCount, 1);
    EXPECT_EQ(clock.now(), 500ms);
}

struct DecisionCase {
    const char* what;
    ScanVariant variant;
    std::vector<std::string> replies;
    bool answered;
};

// The answering SMS-command and firmware cases are the probes' above.
TEST(ScanDecision, FollowsTheVariantsRule) {
    using S = ScanVariant;
    for (const DecisionCase& c :
         {DecisionCase{"identity without OK", S::SmsCommand, {"\r\nSIEMENS\r\n"}, false},
          {"lower-case identity", S::SmsCommand, {"siemens\r\nOK"}, false},
          {"setup: same rule", S::SetupWizard, {"SIEMENS OK"}, true},
          {"firmware: c", S::FirmwareWizard, {"c", "c", "c"}, false}}) {
        EXPECT_EQ(scanRepliesAnswer(c.variant, c.replies), c.answered) << c.what;
    }
}

}  // namespace
}  // namespace kv820
