#include <gtest/gtest.h>

#include <chrono>

#include "app/ports/qt_serial_link.h"
#include "core/modem/com_port.h"
#include "sim/pty_simulator.h"

namespace kv820 {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

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

}  // namespace
}  // namespace kv820
