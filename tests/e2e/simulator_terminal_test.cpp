// The simulator's terminal as the program's own serial link sees it.
#include <gtest/gtest.h>

// Before any Qt header: the simulator has a member named like Qt's "emit" keyword.
#include "sim/pty_simulator.h"

#include <QTest>
#include <string>

#include "app/ports/qt_serial_link.h"

namespace kv820 {
namespace {

std::string readAtLeast(SerialLink& link, std::size_t count) {
    std::string text;
    QTest::qWaitFor([&] {
        text += link.readAvailable(256, std::chrono::milliseconds(20));
        return text.size() >= count;
    });
    return text;
}

// As on a modem's line, what was sent while no program listened is gone: a later session
// never reads an earlier one's output.
TEST(SimulatorTerminal, OutputSentWhileThePortWasClosedIsNotReadLater) {
    auto simulator = sim::PtySimulator::modem();
    {
        QtSerialLink port;
        ASSERT_TRUE(port.open(simulator->devicePath()));
        port.write("at+cnmi=1,1\r");
        readAtLeast(port, 18);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return !simulator->portOpen(); }, 2000));
    simulator->withModem([](sim::ModemSimulator& m) { return m.injectSms("+1", "lost"); });
    QTest::qWait(50);  // the announcement reaches the closed terminal
    QtSerialLink port;
    ASSERT_TRUE(port.open(simulator->devicePath()));
    port.write("at\r");
    EXPECT_EQ(readAtLeast(port, 9), "at\r\r\nOK\r\n");
}

}  // namespace
}  // namespace kv820
