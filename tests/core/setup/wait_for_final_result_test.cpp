#include "core/setup/wait_for_final_result.h"

#include <gtest/gtest.h>

#include "support/fake_serial_link.h"

namespace kv820 {
namespace {

using std::chrono::milliseconds;

class WaitForFinalResultTest : public testing::Test {
  protected:
    void SetUp() override { link.open("ttyUSB0"); }

    test::VirtualClock clock;
    test::FakeSerialLink link{clock};
    ComPort port{link, clock};
};

TEST_F(WaitForFinalResultTest, AppendsLateReadsAfterTheTextAlreadyRead) {
    link.feed("at+cfun=1\r\r\n");
    link.feedAfter(milliseconds(800), "+CFUN: 1\r\n");
    link.feedAfter(milliseconds(1700), "\r\nOK\r\n");
    EXPECT_EQ(WaitForFinalResult(port, 256), "at+cfun=1\r\r\n+CFUN: 1\r\n\r\nOK\r\n");
}

TEST_F(WaitForFinalResultTest, StopsAtTheFinalResultAndLeavesWhatFollows) {
    link.feed("ati\r\r\nSIEMENS\r\n\r\nOK\r\nRING\r\n");
    EXPECT_EQ(WaitForFinalResult(port, 256), "ati\r\r\nSIEMENS\r\n\r\nOK\r\n");
    EXPECT_EQ(port.ReadModemReply(64), "RING\r\n");
}

TEST_F(WaitForFinalResultTest, ErrorResultsAndThePromptEndTheReply) {
    for (const std::string reply : {"x\r\r\nERROR\r\n", "x\r\r\n+CME ERROR: 16\r\n",
                                    "x\r\r\n+CMS ERROR: 302\r\n", "at+cmgw=+1\r\r\n> "}) {
        link.feed(reply);
        EXPECT_EQ(WaitForFinalResult(port, 256), reply);
    }
}

TEST_F(WaitForFinalResultTest, LettersOkInsideALineDoNotEndTheReply) {
    link.feed("at+cpin?\r\r\n+CPIN: OKAY\r\n");
    link.feedAfter(milliseconds(900), "\r\nOK\r\n");
    EXPECT_EQ(WaitForFinalResult(port, 256), "at+cpin?\r\r\n+CPIN: OKAY\r\n\r\nOK\r\n");
}

TEST_F(WaitForFinalResultTest, SilentDeviceEndsAfterOneRead) {
    int pauses = 0;
    EXPECT_EQ(WaitForFinalResult(port, 256, [&] { ++pauses; }), "");
    EXPECT_EQ(clock.now(), ComPort::ReadTimeout);
    EXPECT_EQ(pauses, 0);
}

TEST_F(WaitForFinalResultTest, TalkativeDeviceWithoutResultIsCutOffAfterTheBound) {
    for (int i = 0; i < 100; ++i) {
        link.feedAfter(milliseconds(300 * i), "+CREG: 2\r\n");
    }
    int pauses = 0;
    const std::string text = WaitForFinalResult(port, 16384, [&] { ++pauses; });
    EXPECT_GE(clock.now(), milliseconds(10000));
    EXPECT_LT(clock.now(), milliseconds(11000));
    EXPECT_TRUE(text.starts_with("+CREG: 2\r\n+CREG: 2\r\n"));
    EXPECT_GT(pauses, 0);
}

TEST_F(WaitForFinalResultTest, PausesFiftyMillisecondsBetweenReads) {
    link.feed("at+cpms?\r\r\n");
    link.feedAfter(milliseconds(1200), "OK\r\n");
    int pauses = 0;
    WaitForFinalResult(port, 256, [&] { ++pauses; });
    // Two reads run out their 500 ms; each is followed by a 50 ms pause.
    EXPECT_EQ(pauses, 2);
    EXPECT_EQ(clock.now(), milliseconds(1200));
}

TEST_F(WaitForFinalResultTest, TextStaysWithinTheBuffer) {
    link.feed("0123456789ABCDEF");
    EXPECT_EQ(WaitForFinalResult(port, 8), "0123456");
    EXPECT_EQ(port.ReadModemReply(64), "789ABCDEF");
}

}  // namespace
}  // namespace kv820
