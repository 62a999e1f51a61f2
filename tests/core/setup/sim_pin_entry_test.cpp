#include "core/setup/sim_pin_entry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/fake_serial_link.h"
#include "support/tracker_replies.h"

namespace kv820 {
namespace {

using test::echoed;
using Writes = std::vector<std::string>;

class SimPinEntryTest : public testing::Test {
  protected:
    SimPinEntryTest() { context.portEntry = "ttyUSB0:"; }

    SimPinOutcome enter(const std::string& pin, const std::string& pinReply,
                        const std::string& counterReply) {
        link.replyTo("at+cpin=" + pin + "\r", pinReply);
        link.replyTo("at^spic\r\n", counterReply);
        context.simPin = "9999";  // an earlier PIN is never kept past a new try
        return enterSimPin(port, pin, context);
    }

    test::VirtualClock clock;
    test::FakeSerialLink link{clock};
    ComPort port{link, clock};
    SetupContext context;
};

TEST_F(SimPinEntryTest, MalformedPinIsRefusedBeforeThePortIsTouched) {
    for (const auto& [pin, outcome] : {std::pair{"123", SimPinOutcome::WrongLength},
                                       {"123456789", SimPinOutcome::WrongLength},
                                       {"12a4", SimPinOutcome::NotDigits}}) {
        EXPECT_EQ(enter(pin, "", ""), outcome) << pin;
        EXPECT_TRUE(simPinDialogStaysOpen(outcome));
        EXPECT_EQ(context.simPin, "");
    }
    EXPECT_TRUE(link.openedPaths.empty());
}

struct ReplyCase {
    std::string name;
    std::string pinReply;
    std::string counterReply;
    SimPinOutcome outcome;
    bool staysOpen;
    std::string kept = {};  // the PIN remembered for the setup
};

const std::string Refused = "at+cpin=87654321\r\r\n+CME ERROR: 16\r\n";

// The port is closed whatever the module said.
TEST_F(SimPinEntryTest, RepliesDecideOnTheCounterAndARefusedPinIsNeverKept) {
    const ReplyCase cases[] = {
        ReplyCase("Accepted", echoed("at+cpin=87654321"), echoed("at^spic", "^SPIC: 3"),
                  SimPinOutcome::Accepted, false, "87654321"),
        ReplyCase("CounterTenMeansLocked", Refused, echoed("at^spic", "^SPIC: 10"),
                  SimPinOutcome::Locked, false),
        ReplyCase("TwoLeft", Refused, echoed("at^spic", "^SPIC: 2"), SimPinOutcome::TwoAttemptsLeft,
                  true),
        ReplyCase("OtherCounter", Refused, echoed("at^spic", "^SPIC: 3"), SimPinOutcome::SetupError,
                  false),
        // A module that did not answer the PIN is asked nothing more (last: its counter
        // reply stays unread on the line's rules).
        ReplyCase("SilentModule", "", echoed("at^spic", "^SPIC: 2"), SimPinOutcome::SetupError,
                  false)};
    for (const ReplyCase& c : cases) {
        SCOPED_TRACE(c.name);
        link.writes = {};
        link.openedPaths = {};
        const SimPinOutcome outcome = enter("87654321", c.pinReply, c.counterReply);
        EXPECT_EQ(outcome, c.outcome);
        EXPECT_EQ(simPinDialogStaysOpen(outcome), c.staysOpen);
        EXPECT_EQ(link.openedPaths, Writes{"ttyUSB0"});
        EXPECT_EQ(link.writes.at(0), "at+cpin=87654321\r");
        EXPECT_EQ(std::count(link.writes.begin(), link.writes.end(), "at^spic\r\n"),
                  c.pinReply.empty() ? 0 : 1);
        EXPECT_FALSE(link.isOpen());
        EXPECT_EQ(context.simPin, c.kept);
    }
}

}  // namespace
}  // namespace kv820
