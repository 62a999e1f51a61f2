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
    bool probe(ScanVariant variant, const std::string& entry = "ttyUSB0:") {
        ScanProbe scanProbe(variant, port);
        return scanProbe.probe(entry, stop.get_token());
    }

    test::VirtualClock clock;
    test::FakeSerialLink link{clock};
    std::stop_source stop;
    StoppableClock stoppable{clock, stop.get_token()};
    ComPort port{link, stoppable};
};

struct ProbeCase {
    const char* what;
    ScanVariant variant;
    std::vector<std::pair<std::string, std::string>> replies;  // written, answered
    std::string late;                                          // comes 2 s after opening
    Writes writes;
    bool answered;
    std::chrono::milliseconds took = {};  // checked when given
};

// Each variant's wake and question; the port is closed once whatever came. Times: the wake's
// read runs out (500 ms), the pause after the wake, the "ati" read ends at its final result
// or runs out (500 ms), then the rest after closing.
TEST_F(ScanProbeTest, WakesAsksAndDecidesByTheVariant) {
    using S = ScanVariant;
    const ProbeCase cases[] = {
        {"sms command", S::SmsCommand, {{"ati\r", Identity}}, "", {"2", "ati\r"}, true, 6500ms},
        {"silent port", S::SmsCommand, {}, "", {"2", "ati\r"}, false, 7000ms},
        {"setup clears the line with at",
         S::SetupWizard,
         {{"at\r", "\r\nOK\r\n"}, {"ati\r", Identity}},
         "",
         {"2", "at\r", "ati\r"},
         true},
        // An identity in the dropped reply does not count.
        {"setup decides on the ati reply alone",
         S::SetupWizard,
         {{"at\r", Identity}, {"ati\r", "\r\nERROR\r\n"}},
         "",
         {"2", "at\r", "ati\r"},
         false},
        {"firmware only listens", S::FirmwareWizard, {}, "C", {"1"}, true},
        {"firmware drops an answer to the wake", S::FirmwareWizard, {{"1", "C"}}, "", {"1"}, false},
    };
    for (const ProbeCase& c : cases) {
        SCOPED_TRACE(c.what);
        test::FakeSerialLink fresh{clock};
        ComPort freshPort{fresh, stoppable};
        for (const auto& [written, answered] : c.replies) {
            fresh.replyTo(written, answered);
        }
        if (!c.late.empty()) {
            fresh.feedAfter(2000ms, c.late);
        }
        const auto start = clock.now();
        EXPECT_EQ(ScanProbe(c.variant, freshPort).probe("ttyUSB0:", stop.get_token()), c.answered);
        EXPECT_EQ(fresh.openedPaths, Writes{"ttyUSB0"});
        EXPECT_EQ(fresh.writes, c.writes);
        EXPECT_EQ(fresh.closeCount, 1);
        EXPECT_FALSE(fresh.isOpen());
        if (c.took.count() != 0) {
            EXPECT_EQ(clock.now() - start, c.took);
        }
    }
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

// The answering cases are the probes' above.
TEST(ScanDecision, FollowsTheVariantsRule) {
    for (const DecisionCase& c :
         {DecisionCase{"identity without OK", ScanVariant::SmsCommand, {"\r\nSIEMENS\r\n"}, false},
          {"lower-case identity", ScanVariant::SmsCommand, {"siemens\r\nOK"}, false},
          {"setup: same rule", ScanVariant::SetupWizard, {"SIEMENS OK"}, true},
          {"firmware: c", ScanVariant::FirmwareWizard, {"c", "c", "c"}, false}}) {
        EXPECT_EQ(ScanRepliesAnswer(c.variant, c.replies), c.answered) << c.what;
    }
}

}  // namespace
}  // namespace kv820
