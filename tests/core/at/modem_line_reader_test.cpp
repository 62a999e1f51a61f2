#include "core/at/modem_line_reader.h"

#include <gtest/gtest.h>

#include "support/fake_serial_link.h"
#include "support/virtual_clock.h"

namespace kv820 {
namespace {

using std::chrono::milliseconds;

class ModemLineReaderTest : public ::testing::Test {
  protected:
    ModemLineReaderTest() { port.OpenComPort("ttyFake:"); }

    std::optional<std::string> read() { return reader.ReadModemLine(port, stop); }

    test::VirtualClock clock;
    test::FakeSerialLink link{clock};
    ComPort port{link, clock};
    ModemLineReader reader;
    std::function<bool()> stop = [] { return false; };
};

TEST_F(ModemLineReaderTest, ALineEndsAtItsLineFeedOnly) {
    link.feed("at\rOK\r\n\r\n+CMTI: \"SM\",5\r\n");
    EXPECT_EQ(read(), "at\rOK\r\n");
    EXPECT_EQ(read(), "\r\n");
    EXPECT_EQ(read(), "+CMTI: \"SM\",5\r\n");
    EXPECT_EQ(read(), std::nullopt);
    EXPECT_EQ(clock.now(), milliseconds(500));
}

TEST_F(ModemLineReaderTest, AGapOfHalfASecondKeepsTheLineALongerOneDropsIt) {
    link.feed("+CM");
    link.feedAfter(milliseconds(500), "TI: \"SM\",5\r\n+CM");
    EXPECT_EQ(read(), "+CMTI: \"SM\",5\r\n");
    link.feedAfter(milliseconds(501), "TI: \"SM\",6\r\n");
    EXPECT_EQ(read(), std::nullopt);
    EXPECT_EQ(read(), "TI: \"SM\",6\r\n");
}

TEST_F(ModemLineReaderTest, ALineOver511BytesIsDroppedAndReadingGoesOn) {
    const std::string longest = std::string(509, 'x') + "\r\n";
    link.feed(longest + std::string(510, 'x') + "\r\nOK\r\n");
    EXPECT_EQ(read(), longest);
    EXPECT_EQ(read(), std::nullopt) << "511 bytes held, the LF overflowed";
    EXPECT_EQ(read(), "OK\r\n");
}

TEST_F(ModemLineReaderTest, AStopOrAClosedPortEndsTheAttempt) {
    link.feed("RING\r\n");
    stop = [] { return true; };
    EXPECT_EQ(read(), std::nullopt);
    stop = [] { return false; };
    port.CloseComPort();
    EXPECT_EQ(read(), std::nullopt);
}

}  // namespace
}  // namespace kv820
