#include <gtest/gtest.h>

#include "core/at/com_port.h"
#include "core/at/modem_reply.h"
#include "core/at/modem_wake.h"
#include "support/fake_serial_link.h"
#include "support/virtual_clock.h"

namespace kv820 {
namespace {

using std::chrono::milliseconds;
using test::FakeSerialLink;
using test::VirtualClock;

std::string announcement(int index) {
    return "+CMTI: \"SM\"," + std::to_string(index) + "\r\n";
}

struct FramingCase {
    const char* name;
    std::string command;
    std::string input;
    FinalResult result;
    std::string text = {};  // the reply as judged, when it is not the whole input
    std::vector<std::string> unsolicited = {};
    std::size_t left = 0;  // bytes of the input not taken
};

const std::string ReadHeader = "+CMGR: \"REC UNREAD\",\"+1\",,\"07/05/12,10:20:30+32\"\r\n";
const std::string DeleteOk = "at+cmgd=1\r\r\nOK\r\n";

using F = FramingCase;
const FramingCase FramingCases[] = {
    F("EchoAndResultOnOneLine", "at", "at\rOK\r\n", FinalResult::Ok),
    F("SimError", "at+cmgr=9", "at+cmgr=9\r\r\n+CMS ERROR: 321\r\n", FinalResult::CmsError),
    F("PromptEndsASend", "at+cmgs=123", "at+cmgs=123\r\r\n> ", FinalResult::Prompt),
    F("PromptSignInAMessageIsNoEnd", "at+cmgr=1", "at+cmgr=1\r\r\n" + ReadHeader + "a > ",
      FinalResult::None),
    F("OkAsMessageTextIsNoEnd", "at+cmgr=1", ReadHeader + "OK\r\n\r\nOK\r\n", FinalResult::Ok),
    F("AnnouncementBefore", "at+cmgd=1", announcement(3) + DeleteOk, FinalResult::Ok, DeleteOk,
      {announcement(3)}),
    F("AnnouncementsInside", "at+cmgd=1", "at+cmgd=1\r\r\n" + announcement(4) + "RING\r\nOK\r\n",
      FinalResult::Ok, DeleteOk, {announcement(4), "RING\r\n"}),
    F("AnnouncementAfterStaysUnread", "at+cmgd=1", DeleteOk + announcement(5), FinalResult::Ok,
      DeleteOk, {}, announcement(5).size()),
    F("OwnAnswerIsNotUnsolicited", "at+creg?", "+CREG: 0,1\r\nOK\r\n", FinalResult::Ok),
    F("NoFinalResult", "ati", "ati\r\r\nSIEMENS\r\nMC3", FinalResult::None),
};

// The same bytes give the same reply whether they come at once or one by one.
TEST(ReplyFraming, FramesTheSameInAnyPieces) {
    for (const FramingCase& c : FramingCases) {
        for (const std::size_t piece : {c.input.size(), std::size_t{1}, std::size_t{7}}) {
            const std::string prefix = answerPrefixOf(c.command);
            ReplyAssembler assembler(prefix, prefix == "+CMGS");
            std::size_t taken = 0;
            for (std::size_t at = 0; at < c.input.size(); at += piece) {
                const std::string_view bytes = std::string_view(c.input).substr(at, piece);
                const std::size_t used = assembler.add(bytes);
                taken += used;
                if (used < bytes.size()) {
                    break;
                }
            }
            SCOPED_TRACE(std::string(c.name) + " in pieces of " + std::to_string(piece));
            EXPECT_EQ(assembler.reply().text, c.text.empty() ? c.input : c.text);
            EXPECT_EQ(assembler.reply().result, c.result);
            EXPECT_EQ(assembler.takeUnsolicited(), c.unsolicited);
            EXPECT_EQ(c.input.size() - taken, c.left);
        }
    }
}

class Exchanges : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(port.OpenComPort("ttyFake:"));
        port.setStrayLog([this](std::string_view bytes) { stray.append(bytes); });
    }

    VirtualClock clock;
    FakeSerialLink link{clock};
    ComPort port{link, clock};
    std::string stray;
};

TEST_F(Exchanges, SlowSimReplyIsAwaitedWhole) {
    link.onWrite = [](FakeSerialLink& modem, std::string_view bytes) {
        if (bytes == "at+cmgr=1\r") {
            modem.feedAfter(milliseconds(1500),
                            "at+cmgr=1\r\r\n" + ReadHeader + "?35x!\r\n\r\nOK\r\n");
        }
    };
    const ModemReply reply = port.exchange("at+cmgr=1", reply_timeout::Sim);
    EXPECT_TRUE(reply.ok());
    EXPECT_TRUE(reply.contains("?35x!"));
    EXPECT_FALSE(port.outOfStep());
}

TEST_F(Exchanges, LateReplyIsNeverTakenForTheNextCommands) {
    // "at" times out; its "OK" comes late and must not answer "at+cmgd=2".
    link.onWrite = [](FakeSerialLink& modem, std::string_view bytes) {
        if (bytes == "at\r") {
            modem.feedAfter(milliseconds(700), "at\r\r\nOK\r\n");
        } else if (bytes == "at+cmgd=2\r") {
            modem.feedAfter(milliseconds(200), "at+cmgd=2\r\r\n+CMS ERROR: 321\r\n");
        }
    };
    EXPECT_FALSE(port.exchange("at", reply_timeout::Quick).complete());
    EXPECT_TRUE(port.outOfStep());

    const ModemReply reply = port.exchange("at+cmgd=2", reply_timeout::Sim);
    EXPECT_EQ(reply.result, FinalResult::CmsError);
    EXPECT_EQ(reply.text, "at+cmgd=2\r\r\n+CMS ERROR: 321\r\n");
    EXPECT_EQ(stray, "at\r\r\nOK\r\n");
    EXPECT_EQ(link.writes, (std::vector<std::string>{"at\r", "at+cmgd=2\r"}));
}

// After a time-out the next command waits for a fresh "OK"; without one it is not sent, so
// that a delete never goes to a modem out of step.
TEST_F(Exchanges, SilentModemGetsTheNextCommandOnlyAfterAFreshOk) {
    bool awake = false;
    link.onWrite = [&awake](FakeSerialLink& modem, std::string_view bytes) {
        if (bytes == "at\r" && awake) {
            modem.feed("at\r\r\nOK\r\n");
        } else if (bytes == "at+cmgr=1\r") {
            modem.feed("at+cmgr=1\r\r\n" + ReadHeader + "hello\r\n\r\nOK\r\n");
        }
    };
    EXPECT_FALSE(port.exchange("at+cmgd=1", reply_timeout::Sim).complete());
    EXPECT_FALSE(port.exchange("at+cmgd=2", reply_timeout::Sim).complete());
    awake = true;
    EXPECT_TRUE(port.exchange("at+cmgr=1", reply_timeout::Sim).ok());
    EXPECT_EQ(link.writes, (std::vector<std::string>{"at+cmgd=1\r", "\x1b", "at\r", "at\r", "at\r",
                                                     "\x1b", "at\r", "at+cmgr=1\r"}));
}

TEST_F(Exchanges, MessageTextGoesOnlyAfterThePrompt) {
    link.replyTo("at+cmgs=123\r", "at+cmgs=123\r\r\n> ");
    link.replyTo("hi\x1a\r", "hi\x1a\r\n+CMGS: 7\r\n\r\nOK\r\n");
    ASSERT_TRUE(port.exchange("at+cmgs=123", reply_timeout::Sim).prompted());
    EXPECT_TRUE(port.exchangeMessageText("hi", "+CMGS", reply_timeout::Network).ok());

    link.replyTo("at+cmgs=456\r", "at+cmgs=456\r\r\nERROR\r\n");
    EXPECT_TRUE(port.exchange("at+cmgs=456", reply_timeout::Sim).refused());
    EXPECT_FALSE(port.exchangeMessageText("lost", "+CMGS", reply_timeout::Network).complete());
    EXPECT_EQ(link.writes.back(), "at+cmgs=456\r");
}

TEST_F(Exchanges, ASilentModemIsAwaitedForTheWholePauseAndNoMore) {
    int seconds = 0;
    EXPECT_FALSE(awaitModemAnswer(port, milliseconds(5000), [&seconds] { ++seconds; }));
    EXPECT_GE(clock.now(), milliseconds(5000));
    EXPECT_LE(clock.now(), milliseconds(5000) + ComPort::StaleReplyWait);
    EXPECT_EQ(seconds, clock.now().count() / 1000);
}

}  // namespace
}  // namespace kv820
