#include "core/commands/send_command_sms.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_serial_link.h"
#include "support/virtual_clock.h"

namespace kv820 {
namespace {

const std::string Text = "?2,354612071234567!";

class SendCommandSmsTest : public testing::Test {
  protected:
    SendCommandSmsTest() : link_(clock_), port_(link_, clock_) {
        port_.OpenComPort("ttyUSB0:");
        log_ = [this](std::string_view text) { logged_.append(text); };
    }

    bool send() { return SendCommandSms(port_, MessageMode::Text, log_, "0912345678", Text); }

    test::VirtualClock clock_;
    test::FakeSerialLink link_;
    ComPort port_;
    ModemLog log_;
    std::string logged_;
};

TEST_F(SendCommandSmsTest, WritesAndLogsThreeLinesEachAfterItsOwnReply) {
    link_.replyTo("at+cmgf=1\r", "at+cmgf=1\r\r\nOK\r\n");
    link_.replyTo("at+cmgs=0912345678\r", "at+cmgs=0912345678\r\r\n> ");
    link_.onWrite = [](test::FakeSerialLink& modem, std::string_view bytes) {
        if (bytes == Text + "\x1a\r") {  // the network answers after seconds
            modem.feedAfter(std::chrono::seconds(8), "\r\n+CMGS: 7\r\n\r\nOK\r\n");
        }
    };

    EXPECT_TRUE(send());

    EXPECT_EQ(link_.writes,
              (std::vector<std::string>{"at+cmgf=1\r", "at+cmgs=0912345678\r", Text + "\x1a\r"}));
    EXPECT_EQ(logged_, "at+cmgf=1\r\r\nat+cmgs=0912345678\r\r\n" + Text + "\x1a\r\r\n");
    EXPECT_FALSE(port_.outOfStep()) << "nothing of the send is left for the reception";
}

struct RefusalCase {
    const char* name;
    std::string modeReply;
    std::string sendReply;
    std::size_t writes;
};

class SendCommandSmsRefusal : public SendCommandSmsTest,
                              public testing::WithParamInterface<RefusalCase> {};

// Without the prompt the text is never written: in command mode it would be a command.
TEST_P(SendCommandSmsRefusal, StopsAtTheRefusedStepAndSaysSo) {
    link_.replyTo("at+cmgf=1\r", GetParam().modeReply);
    link_.replyTo("at+cmgs=0912345678\r", GetParam().sendReply);
    EXPECT_FALSE(send());
    ASSERT_GE(link_.writes.size(), GetParam().writes);
    for (const std::string& write : link_.writes) {
        EXPECT_NE(write, Text + "\x1a\r");
    }
    EXPECT_TRUE(logged_.ends_with("The SMS was not sent.\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Replies, SendCommandSmsRefusal,
                         testing::Values(RefusalCase{"mode_refused", "ERROR\r\n", "", 1},
                                         RefusalCase{"send_refused", "OK\r\n",
                                                     "+CMS ERROR: 500\r\n", 2},
                                         RefusalCase{"silent_modem", "", "", 1}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kv820
