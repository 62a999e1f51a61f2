#include "core/modem/modem_line_reader.h"

#include <gtest/gtest.h>

#include "support/fake_serial_link.h"
#include "support/virtual_clock.h"

namespace kv820 {
namespace {

using std::chrono::milliseconds;
using test::FakeSerialLink;
using test::VirtualClock;

class ModemLineReaderTest : public ::testing::Test {
  protected:
    ModemLineReaderTest() : link(clock), port(link, clock) { port.OpenComPort("ttyFake:"); }

    std::optional<std::string> read() { return reader.ReadModemLine(port, stop); }

    VirtualClock clock;
    FakeSerialLink link;
    ComPort port;
    ModemLineReader reader;
    std::function<bool()> stop = [] { return false; };
};

TEST_F(ModemLineReaderTest, ReadsOneLineWithItsLineEnd) {
    link.feed("RING\r\n+CMTI: \"SM\",5\r\n");
    EXPECT_EQ(read(), "RING\r\n");
    EXPECT_EQ(read(), "+CMTI: \"SM\",5\r\n");
}

TEST_F(ModemLineReaderTest, EmptyLineIsALine) {
    link.feed("\r\n");
    EXPECT_EQ(read(), "\r\n");
}

TEST_F(ModemLineReaderTest, CarriageReturnDoesNotEndALine) {
    link.feed("at\rOK\r\n");
    EXPECT_EQ(read(), "at\rOK\r\n");
}

TEST_F(ModemLineReaderTest, NothingWithinHalfASecondGivesNothing) {
    EXPECT_EQ(read(), std::nullopt);
    EXPECT_EQ(clock.now(), milliseconds(500));
}

TEST_F(ModemLineReaderTest, GapOfUpToHalfASecondKeepsTheLine) {
    link.feed("+CM");
    link.feedAfter(milliseconds(500), "TI: \"SM\",5\r\n");
    EXPECT_EQ(read(), "+CMTI: \"SM\",5\r\n");
}

TEST_F(ModemLineReaderTest, LongerGapDropsThePartialLine) {
    link.feed("+CM");
    link.feedAfter(milliseconds(501), "TI: \"SM\",5\r\n");
    EXPECT_EQ(read(), std::nullopt);
    EXPECT_EQ(read(), "TI: \"SM\",5\r\n");
}

TEST_F(ModemLineReaderTest, LineOf511CharactersIsKept) {
    const std::string line = std::string(509, 'x') + "\r\n";
    link.feed(line);
    EXPECT_EQ(read(), line);
}

TEST_F(ModemLineReaderTest, LongerLineIsDroppedWithTheOverflowingByte) {
    link.feed(std::string(510, 'x') + "\r\nOK\r\n");
    EXPECT_EQ(read(), std::nullopt) << "511 bytes held, the LF overflowed";
    EXPECT_EQ(read(), "OK\r\n") << "reading goes on after the dropped byte";
}

TEST_F(ModemLineReaderTest, LineWithoutEndIsDroppedWhenTheModemFallsSilent) {
    link.feed("+CMTI: \"SM\",5");
    EXPECT_EQ(read(), std::nullopt);
    link.feed("\r\n");
    EXPECT_EQ(read(), "\r\n");
}

TEST_F(ModemLineReaderTest, StopRequestEndsTheAttemptBetweenBytes) {
    link.feed("RING\r\n");
    stop = [] { return true; };
    EXPECT_EQ(read(), std::nullopt);
}

TEST_F(ModemLineReaderTest, ClosedPortGivesNothing) {
    port.CloseComPort();
    EXPECT_EQ(read(), std::nullopt);
}

}  // namespace
}  // namespace kv820
