#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/ports/qt_serial_link.h"
#include "core/modem/com_port.h"
#include "sim/pty_simulator.h"

namespace kv820 {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The simulator learns of opens and closes from the file system, a moment later.
template <class Condition>
bool WaitUntil(Condition condition) {
    const auto deadline = Clock::now() + 2s;
    while (!condition()) {
        if (Clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

// The real serial link against a simulated modem on a pseudo-terminal.
class SerialLinkE2eTest : public testing::Test {
  protected:
    void SetUp() override {
        modem = sim::PtySimulator::modem();
        modem->withModem([](sim::ModemSimulator& m) {
            m.setEcho(false);
            m.setTextMode(true);
        });
        ASSERT_TRUE(port.OpenComPort(modem->devicePath() + ":"));
    }

    // Sends `command` and reads up to `size` bytes, measuring how long the read took.
    std::string exchange(std::string_view command, std::size_t size,
                         std::chrono::milliseconds* took) {
        port.SendAtCommand(command);
        const auto start = Clock::now();
        std::string reply = port.ReadModemReply(size);
        *took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
        return reply;
    }

    std::unique_ptr<sim::PtySimulator> modem;
    SystemClock clock;
    QtSerialLink link;
    ComPort port{link, clock};
};

TEST_F(SerialLinkE2eTest, AReplyCutShortIsReturnedInPartAfterTheTimeOut) {
    modem->withModem([](sim::ModemSimulator& m) { m.faults().cutNext(9); });
    std::chrono::milliseconds took{};
    const std::string reply = exchange("ati", 1024, &took);
    EXPECT_EQ(reply, "\r\nSIEMENS");
    EXPECT_GE(took, 450ms);
}

TEST_F(SerialLinkE2eTest, ALateReplyIsReturnedInPartAndTheRestStaysForTheNextRead) {
    modem->setReplyDelay(700ms);
    std::chrono::milliseconds took{};
    EXPECT_EQ(exchange("at", 128, &took), "");
    EXPECT_GE(took, 450ms);
    EXPECT_EQ(port.ReadModemReply(128), "\r\nOK\r\n");
}

TEST_F(SerialLinkE2eTest, AReadEndsAtOkWellBeforeItsTimeOut) {
    std::chrono::milliseconds took{};
    EXPECT_EQ(exchange("at", 512, &took), "\r\nOK\r\n");
    EXPECT_LT(took, 400ms);
}

TEST_F(SerialLinkE2eTest, AReadEndsAtErrorWellBeforeItsTimeOut) {
    modem->withModem([](sim::ModemSimulator& m) { m.faults().errorNext(); });
    std::chrono::milliseconds took{};
    EXPECT_EQ(exchange("at", 512, &took), "\r\nERROR\r\n");
    EXPECT_LT(took, 400ms);
}

TEST_F(SerialLinkE2eTest, AReadEndsAtTheTextPromptWellBeforeItsTimeOut) {
    std::chrono::milliseconds took{};
    const std::string reply = exchange("at+cmgs=\"0912345678\"", 128, &took);
    EXPECT_EQ(reply.substr(reply.size() - 2), "> ");
    EXPECT_LT(took, 400ms);
    port.SendAtCommand("\x1b", "");  // leaves the text entry without sending
}

TEST_F(SerialLinkE2eTest, TheEntryNoOpensNothing) {
    port.CloseComPort();
    const int opened = modem->portOpenCount();
    EXPECT_FALSE(port.OpenComPort("NO"));
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(modem->portOpenCount(), opened);
}

TEST_F(SerialLinkE2eTest, ClosingTwiceClosesOnceAndThePortOpensAgain) {
    port.CloseComPort();
    EXPECT_FALSE(port.isOpen());
    ASSERT_TRUE(WaitUntil([&] { return !modem->portOpen(); }));
    const int opened = modem->portOpenCount();
    port.CloseComPort();
    EXPECT_FALSE(port.isOpen());
    ASSERT_TRUE(port.OpenComPort(modem->devicePath() + ":"));
    std::chrono::milliseconds took{};
    EXPECT_EQ(exchange("at", 128, &took), "\r\nOK\r\n");
    EXPECT_TRUE(WaitUntil([&] { return modem->portOpenCount() == opened + 1; }));
}

}  // namespace
}  // namespace kv820
