#include "core/commands/send_command_sms.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_serial_link.h"
#include "support/virtual_clock.h"

namespace kv820 {
namespace {

using namespace std::chrono_literals;

class SendCommandSmsTest : public testing::Test {
  protected:
    SendCommandSmsTest() : link_(clock_), port_(link_, clock_) {
        port_.OpenComPort("ttyUSB0:");
        log_ = [this](std::string_view text) { logged_.append(text); };
    }

    test::VirtualClock clock_;
    test::FakeSerialLink link_;
    ComPort port_;
    ModemLog log_;
    std::string logged_;
};

TEST_F(SendCommandSmsTest, WritesThreeLinesWithTheirTerminatorsInOrder) {
    link_.replyTo("at+cmgf=1\r", "at+cmgf=1\r\r\nOK\r\n");
    link_.replyTo("at+cmgs=0912345678\r", "at+cmgs=0912345678\r\r\n> ");
    link_.replyTo("?2,354612071234567!\x1a\r", "\r\n+CMGS: 7\r\n\r\nOK\r\n");

    SendCommandSms(port_, log_, "0912345678", "?2,354612071234567!");

    const std::vector<std::string> expected = {"at+cmgf=1\r", "at+cmgs=0912345678\r",
                                               "?2,354612071234567!\x1a\r"};
    EXPECT_EQ(link_.writes, expected);
    EXPECT_EQ(link_.unreadInput(), "");
}

TEST_F(SendCommandSmsTest, LogsEachWrittenTextThenALineEnd) {
    SendCommandSms(port_, log_, "+15550100", "?0,354612071234567,1!");

    EXPECT_EQ(logged_,
              "at+cmgf=1\r\r\n"
              "at+cmgs=+15550100\r\r\n"
              "?0,354612071234567,1!\x1a\r\r\n");
}

TEST_F(SendCommandSmsTest, ReadsAtMostSixtyFourBytesAfterEachWrite) {
    // A modem that answers each line with more than 64 bytes and no result code: each read
    // takes exactly 64 bytes, the rest stays for whoever reads next.
    const std::string chatter(100, 'x');
    link_.replyTo("at+cmgf=1\r", chatter);
    link_.replyTo("at+cmgs=1\r", chatter);
    link_.replyTo("?6,354612071234567!\x1a\r", chatter);

    SendCommandSms(port_, log_, "1", "?6,354612071234567!");

    EXPECT_EQ(link_.writes.size(), 3u);
    EXPECT_EQ(port_.ReadModemReply(1000), std::string(3 * 100 - 3 * 64, 'x'));
}

TEST_F(SendCommandSmsTest, SilentModemStillCompletesAfterThreeReadTimeouts) {
    const auto start = clock_.now();

    SendCommandSms(port_, log_, "0912345678", "?2,354612071234567!");

    EXPECT_EQ(link_.writes.size(), 3u);
    EXPECT_EQ(clock_.now() - start, 3 * ComPort::ReadTimeout);
}

TEST_F(SendCommandSmsTest, ModemErrorsAreNotExamined) {
    link_.replyTo("at+cmgf=1\r", "ERROR\r\n");
    link_.replyTo("at+cmgs=0912345678\r", "+CMS ERROR: 500\r\n");

    SendCommandSms(port_, log_, "0912345678", "?2,354612071234567!");

    EXPECT_EQ(link_.written(), "at+cmgf=1\rat+cmgs=0912345678\r?2,354612071234567!\x1a\r");
}

TEST_F(SendCommandSmsTest, AnnouncementInsideAReplyIsKeptForTheLineReader) {
    link_.replyTo("at+cmgf=1\r", "\r\n+CMTI: \"SM\",3\r\nOK\r\n");

    SendCommandSms(port_, log_, "0912345678", "?2,354612071234567!");

    EXPECT_EQ(port_.TakeAnnouncement(), "+CMTI: \"SM\",3\r\n");
}

TEST_F(SendCommandSmsTest, EmptyLogSinkIsAllowed) {
    SendCommandSms(port_, ModemLog{}, "0912345678", "?2,354612071234567!");

    EXPECT_EQ(link_.writes.size(), 3u);
}

}  // namespace
}  // namespace kv820
