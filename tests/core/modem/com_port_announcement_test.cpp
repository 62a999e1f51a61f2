#include <gtest/gtest.h>

#include "core/modem/com_port.h"
#include "support/fake_serial_link.h"
#include "support/virtual_clock.h"

namespace kv820 {
namespace {

using test::FakeSerialLink;
using test::VirtualClock;

std::string Announcement(int index) {
    return "+CMTI: \"SM\"," + std::to_string(index) + "\r\n";
}

TEST(ComPortAnnouncements, WaitingAnnouncementsDoNotCutTheReplyShort) {
    VirtualClock clock;
    FakeSerialLink link(clock);
    ComPort port(link, clock);
    ASSERT_TRUE(port.OpenComPort("ttyFake:"));
    std::string burst;
    for (int i = 2; i <= 40; ++i) {
        burst += Announcement(i);
    }
    ASSERT_GT(burst.size(), 512u);
    const std::string reply =
        "at+cmgr=1\r\r\n+CMGR: \"REC UNREAD\",\"+1\",,\"07/05/12,10:20:30+32\"\r\n" +
        std::string(200, 'x') + "!\r\n\r\nOK\r\n";
    link.feed(burst);
    link.feed(reply);

    EXPECT_EQ(port.ReadModemReply(512), reply);
    for (int i = 2; i <= 40; ++i) {
        const auto line = port.TakeAnnouncement();
        ASSERT_TRUE(line.has_value()) << i;
        EXPECT_EQ(*line, Announcement(i));
    }
    EXPECT_FALSE(port.TakeAnnouncement().has_value());
    EXPECT_EQ(clock.now().count(), 0) << "the read ended at the final result code";
}

TEST(ComPortAnnouncements, AnnouncementInsideAReplyIsTakenOut) {
    VirtualClock clock;
    FakeSerialLink link(clock);
    ComPort port(link, clock);
    ASSERT_TRUE(port.OpenComPort("ttyFake:"));
    link.feed("at+cmgd=1\r\r\n" + Announcement(9) + "OK\r\nRING\r\n");

    EXPECT_EQ(port.ReadModemReply(512), "at+cmgd=1\r\r\nOK\r\n");
    EXPECT_EQ(port.TakeAnnouncement(), Announcement(9));
    // What follows the final result code stays for the line reader.
    EXPECT_EQ(port.ReadByte(std::chrono::milliseconds(0)), 'R');
}

}  // namespace
}  // namespace kv820

namespace kv820 {
namespace {

TEST(ComPortAnnouncements, ReadEndingInsideAnAnnouncementKeepsItsStart) {
    VirtualClock clock;
    FakeSerialLink link(clock);
    ComPort port(link, clock);
    ASSERT_TRUE(port.OpenComPort("ttyFake:"));
    std::string burst;
    for (int i = 1; i <= 12; ++i) {
        burst += Announcement(i);
    }
    // The first read takes 128 bytes: eight whole lines and the start of the ninth.
    link.feed(burst.substr(0, 128));
    EXPECT_EQ(port.ReadModemReply(128), "");
    link.feed(burst.substr(128) + "at+cmgf=1\r\r\nOK\r\n");
    EXPECT_EQ(port.ReadModemReply(128), "at+cmgf=1\r\r\nOK\r\n");
    for (int i = 1; i <= 12; ++i) {
        EXPECT_EQ(port.TakeAnnouncement(), Announcement(i));
    }
}

TEST(ComPortAnnouncements, OtherCutRepliesAreHandedOutAsRead) {
    VirtualClock clock;
    FakeSerialLink link(clock);
    ComPort port(link, clock);
    ASSERT_TRUE(port.OpenComPort("ttyFake:"));
    link.feed("at+cmgr=1\r\r\n+CMGR: \"REC");
    EXPECT_EQ(port.ReadModemReply(512), "at+cmgr=1\r\r\n+CMGR: \"REC");
}

TEST(ComPortAnnouncements, PartialAnnouncementReachesTheLineReaderWhole) {
    VirtualClock clock;
    FakeSerialLink link(clock);
    ComPort port(link, clock);
    ASSERT_TRUE(port.OpenComPort("ttyFake:"));
    link.feed("OK\r\n+CMT");
    EXPECT_EQ(port.ReadModemReply(2), "OK");
    EXPECT_EQ(port.ReadModemReply(3), "\r\n");
    link.feed("I: \"SM\",4\r\n");
    std::string line;
    while (const auto byte = port.ReadByte(std::chrono::milliseconds(0))) {
        line += *byte;
    }
    EXPECT_EQ(line, Announcement(4));
}

}  // namespace
}  // namespace kv820
