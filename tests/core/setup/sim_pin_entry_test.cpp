#include "core/setup/sim_pin_entry.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

#include "core/setup/tracker_replies.h"
#include "support/fake_serial_link.h"

namespace kv820 {
namespace {

using test::Echoed;

class SimPinEntryTest : public testing::Test {
  protected:
    void SetUp() override { context.portEntry = "ttyUSB0:"; }

    void ModuleAnswers(const std::string& pin, const std::string& pinReply,
                       const std::string& counterReply) {
        link.replyTo("at+cpin=" + pin + "\r", pinReply);
        link.replyTo("at^spic\r\n", counterReply);
    }

    test::VirtualClock clock;
    test::FakeSerialLink link{clock};
    ComPort port{link, clock};
    SetupContext context;
};

TEST_F(SimPinEntryTest, AcceptedPinIsKeptAndThePortClosed) {
    ModuleAnswers("1234", Echoed("at+cpin=1234"), Echoed("at^spic", "^SPIC: 3"));
    const SimPinOutcome outcome = EnterSimPin(port, "1234", context);
    EXPECT_EQ(outcome, SimPinOutcome::Accepted);
    EXPECT_EQ(link.openedPaths, std::vector<std::string>{"ttyUSB0"});
    EXPECT_EQ(link.writes, (std::vector<std::string>{"at+cpin=1234\r", "at^spic\r\n"}));
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(context.simPin, "1234");
    EXPECT_EQ(SimPinOutcomeMessage(outcome), "Your SIM PIN is correct. Continue set up.");
    EXPECT_EQ(SimPinOutcomeCaption(outcome), "KV820 Setup");
    EXPECT_FALSE(SimPinDialogStaysOpen(outcome));
}

struct FormCase {
    std::string pin;
    SimPinOutcome outcome;
    std::string message;
};

void PrintTo(const FormCase& c, std::ostream* os) {
    *os << '"' << c.pin << '"';
}

class SimPinForm : public SimPinEntryTest, public testing::WithParamInterface<FormCase> {};

TEST_P(SimPinForm, MalformedPinIsRefusedBeforeThePortIsTouched) {
    context.simPin = "9999";
    const SimPinOutcome outcome = EnterSimPin(port, GetParam().pin, context);
    EXPECT_EQ(outcome, GetParam().outcome);
    EXPECT_EQ(SimPinOutcomeMessage(outcome), GetParam().message);
    EXPECT_EQ(SimPinOutcomeCaption(outcome), "ERROR");
    EXPECT_TRUE(SimPinDialogStaysOpen(outcome));
    EXPECT_TRUE(link.openedPaths.empty());
    EXPECT_EQ(context.simPin, "");
}

INSTANTIATE_TEST_SUITE_P(
    Pins, SimPinForm,
    testing::Values(FormCase{"", SimPinOutcome::WrongLength, "The password must be 4~8 digits."},
                    FormCase{"123", SimPinOutcome::WrongLength, "The password must be 4~8 digits."},
                    FormCase{"123456789", SimPinOutcome::WrongLength,
                             "The password must be 4~8 digits."},
                    FormCase{"12a", SimPinOutcome::WrongLength, "The password must be 4~8 digits."},
                    FormCase{"12a4", SimPinOutcome::NotDigits, "The password must be digits."},
                    FormCase{"1234 ", SimPinOutcome::NotDigits, "The password must be digits."}));

struct ReplyCase {
    std::string name;
    std::string pinReply;
    std::string counterReply;
    SimPinOutcome outcome;
    std::string message;
    bool staysOpen;
};

void PrintTo(const ReplyCase& c, std::ostream* os) {
    *os << c.name;
}

class SimPinReplies : public SimPinEntryTest, public testing::WithParamInterface<ReplyCase> {};

TEST_P(SimPinReplies, DecideInOrderAndNeverKeepARefusedPin) {
    ModuleAnswers("87654321", GetParam().pinReply, GetParam().counterReply);
    const SimPinOutcome outcome = EnterSimPin(port, "87654321", context);
    EXPECT_EQ(outcome, GetParam().outcome);
    EXPECT_EQ(SimPinOutcomeMessage(outcome), GetParam().message);
    EXPECT_EQ(SimPinOutcomeCaption(outcome), "ERROR");
    EXPECT_EQ(SimPinDialogStaysOpen(outcome), GetParam().staysOpen);
    ASSERT_FALSE(link.writes.empty());
    EXPECT_EQ(link.writes.front(), "at+cpin=87654321\r");
    // A module that did not answer the PIN is asked nothing more.
    const bool asked =
        std::find(link.writes.begin(), link.writes.end(), "at^spic\r\n") != link.writes.end();
    EXPECT_EQ(asked, !GetParam().pinReply.empty());
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(context.simPin, "");
}

const std::string Refused = "at+cpin=87654321\r\r\n+CME ERROR: 16\r\n";

INSTANTIATE_TEST_SUITE_P(
    Replies, SimPinReplies,
    testing::Values(
        ReplyCase{"CounterTenMeansLocked", Refused, Echoed("at^spic", "^SPIC: 10"),
                  SimPinOutcome::Locked, "Input ERROR. Your SIM card is locked.", false},
        ReplyCase{"TwoLeft", Refused, Echoed("at^spic", "^SPIC: 2"), SimPinOutcome::TwoAttemptsLeft,
                  "Input ERROR. You have 2 attempts left.", true},
        ReplyCase{"OneLeft", Refused, Echoed("at^spic", "^SPIC: 1"), SimPinOutcome::OneAttemptLeft,
                  "Input ERROR. You have 1 attempts left.", true},
        ReplyCase{"OtherCounter", Refused, Echoed("at^spic", "^SPIC: 3"), SimPinOutcome::SetupError,
                  "KV820 Setup is ERROR.", false},
        ReplyCase{"NoCounter", Refused, "", SimPinOutcome::SetupError, "KV820 Setup is ERROR.",
                  false},
        ReplyCase{"SilentModule", "", Echoed("at^spic", "^SPIC: 2"), SimPinOutcome::SetupError,
                  "KV820 Setup is ERROR.", false}));

TEST_F(SimPinEntryTest, RefusedPinReplacesNoEarlierPinWithItself) {
    ModuleAnswers("1111", Refused, Echoed("at^spic", "^SPIC: 2"));
    context.simPin = "2222";
    EnterSimPin(port, "1111", context);
    EXPECT_NE(context.simPin, "1111");
}

}  // namespace
}  // namespace kv820
