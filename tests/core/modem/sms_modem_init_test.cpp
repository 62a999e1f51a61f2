#include "core/modem/sms_modem_init.h"

#include <gtest/gtest.h>

#include "support/fake_serial_link.h"
#include "support/virtual_clock.h"

namespace kv820 {
namespace {

using std::chrono::milliseconds;
using test::FakeSerialLink;
using test::VirtualClock;

const std::vector<std::string> InitWrites = {"2",    "at\r",  "2",           "at\r",
                                             "at\r", "ati\r", "at+cmgf=1\r", "at+cnmi=1,1\r"};

class InitModemForSmsTest : public ::testing::Test {
  protected:
    InitModemForSmsTest() : link(clock), port(link, clock) {
        link.replyTo("at\r", "at\r\r\nOK\r\n", 0);
        link.replyTo("ati\r", "ati\r\r\nSIEMENS\r\nMC35i\r\nREVISION 02.00\r\n\r\nOK\r\n");
    }

    VirtualClock clock;
    FakeSerialLink link;
    ComPort port;
};

TEST_F(InitModemForSmsTest, WakesTwiceThenSwitchesToTextModeWithAnnouncements) {
    link.replyTo("at+cmgf=1\r", "at+cmgf=1\r\r\nOK\r\n");
    link.replyTo("at+cnmi=1,1\r", "at+cnmi=1,1\r\r\nOK\r\n");

    EXPECT_TRUE(InitModemForSms(port, "ttyUSB0:"));
    EXPECT_EQ(link.openedPaths, (std::vector<std::string>{"ttyUSB0"}));
    EXPECT_EQ(link.writes, InitWrites);
    EXPECT_TRUE(port.isOpen());
    // Two wakes of a 500 ms read each; the modem answers "at" at once.
    EXPECT_EQ(clock.now(), milliseconds(1000));
}

TEST(InitModemForSmsWakeTest, AModemSlowToWakeGetsTheWholePause) {
    VirtualClock clock;
    FakeSerialLink link(clock);
    ComPort port(link, clock);
    // Answers every command, but only from the fourth second on.
    link.onWrite = [&clock](FakeSerialLink& modem, std::string_view bytes) {
        if (clock.now() >= milliseconds(4000) && bytes != "2") {
            modem.feed(std::string(bytes) + "\r\nOK\r\n");
        }
    };
    EXPECT_TRUE(InitModemForSms(port, "ttyUSB0:"));
    EXPECT_GE(clock.now(), milliseconds(4000));
    EXPECT_LT(clock.now(), milliseconds(7000)) << "the second wake is answered at once";
}

struct ReplyCase {
    const char* name;
    const char* textModeReply;
    const char* announcementReply;
    bool ready;
};

class InitModemForSmsReplyTest : public InitModemForSmsTest,
                                 public ::testing::WithParamInterface<ReplyCase> {};

TEST_P(InitModemForSmsReplyTest, NeedsOkToBothModeCommands) {
    if (*GetParam().textModeReply) {
        link.replyTo("at+cmgf=1\r", GetParam().textModeReply);
    }
    if (*GetParam().announcementReply) {
        link.replyTo("at+cnmi=1,1\r", GetParam().announcementReply);
    }
    EXPECT_EQ(InitModemForSms(port, "ttyUSB0:"), GetParam().ready);
    EXPECT_EQ(link.writes.back(), InitWrites.back());
    // A failed start leaves the port free for the next try.
    EXPECT_EQ(port.isOpen(), GetParam().ready);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, InitModemForSmsReplyTest,
    ::testing::Values(ReplyCase{"announcements_refused", "OK\r\n", "ERROR\r\n", false},
                      ReplyCase{"silent_modem", "", "", false},
                      ReplyCase{"ok_only_inside_other_text", "BOOKED\r\n", "OK\r\n", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(InitModemForSmsTest, APortThatDoesNotOpenOrTheEntryNoGetsNothingWritten) {
    EXPECT_FALSE(InitModemForSms(port, "NO"));
    EXPECT_TRUE(link.openedPaths.empty());
    link.openSucceeds = false;
    EXPECT_FALSE(InitModemForSms(port, "ttyUSB0:"));
    EXPECT_TRUE(link.writes.empty());
    EXPECT_FALSE(port.isOpen());
}

}  // namespace
}  // namespace kv820
