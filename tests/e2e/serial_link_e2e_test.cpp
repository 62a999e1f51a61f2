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

    // One exchange, measuring how long it took.
    ModemReply exchange(std::string_view command, std::chrono::milliseconds* took) {
        const auto start = Clock::now();
        ModemReply reply = port.Exchange(command, reply_timeout::Quick);
        *took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
        return reply;
    }

    std::unique_ptr<sim::PtySimulator> modem;
    SystemClock clock;
    QtSerialLink link;
    ComPort port{link, clock};
};

TEST_F(SerialLinkE2eTest, AReplyCutShortEndsAtTheTimeOutIncomplete) {
    modem->withModem([](sim::ModemSimulator& m) { m.faults().cutNext(9); });
    std::chrono::milliseconds took{};
    const ModemReply reply = exchange("ati", &took);
    EXPECT_FALSE(reply.complete());
    EXPECT_EQ(reply.text, "\r\nSIEMENS");
    EXPECT_GE(took, 450ms);
}

TEST_F(SerialLinkE2eTest, ALateReplyIsNotTakenForTheNextCommands) {
    modem->setReplyDelay(700ms);
    std::chrono::milliseconds took{};
    EXPECT_FALSE(exchange("at", &took).complete());
    modem->setReplyDelay(0ms);
    modem->withModem([](sim::ModemSimulator& m) { m.faults().errorNext(); });
    // The stale "OK" of the first "at" arrives meanwhile; the next reply is the error's.
    EXPECT_EQ(port.Exchange("at+cmgf=1", reply_timeout::Setting).result, FinalResult::Error);
}

struct QuickEnd {
    const char* command;
    bool errorFirst;
    FinalResult result;
};

TEST_F(SerialLinkE2eTest, AReplyEndsAtItsResultCodeWellBeforeItsTimeOut) {
    for (const QuickEnd& c :
         {QuickEnd{"at", false, FinalResult::Ok}, QuickEnd{"at", true, FinalResult::Error},
          QuickEnd{"at+cmgs=\"0912345678\"", false, FinalResult::Prompt}}) {
        if (c.errorFirst) {
            modem->withModem([](sim::ModemSimulator& m) { m.faults().errorNext(); });
        }
        std::chrono::milliseconds took{};
        EXPECT_EQ(exchange(c.command, &took).result, c.result) << c.command;
        EXPECT_LT(took, 400ms) << c.command;
    }
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
    EXPECT_TRUE(exchange("at", &took).ok());
    EXPECT_TRUE(WaitUntil([&] { return modem->portOpenCount() == opened + 1; }));
}

}  // namespace
}  // namespace kv820
