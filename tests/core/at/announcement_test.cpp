// Every way a "+CMTI" announcement can reach the port, in one table: the port hands each one
// out once, as the same typed place, whether it came as a line between exchanges, waiting
// before a command, inside a reply or cut by a read.
#include <gtest/gtest.h>

#include <ostream>

#include "core/at/com_port.h"
#include "core/at/modem_event.h"
#include "support/fake_serial_link.h"
#include "support/virtual_clock.h"

namespace kv820 {

void printTo(const ModemEvent& event, std::ostream* os) {
    *os << ::testing::PrintToString(event.line);
    if (event.announced) {
        *os << " announcing \"" << event.announced->store << "\"," << event.announced->index;
    }
}

namespace {

using std::chrono::milliseconds;

ModemEvent line(std::string line) {
    return {std::move(line), std::nullopt};
}

ModemEvent announced(std::string line, std::string store, int index) {
    return {std::move(line), MessagePlace{std::move(store), index}};
}

std::string cmti(const std::string& store, const std::string& index) {
    return "+CMTI: \"" + store + "\"," + index + "\r\n";
}

struct Arrival {
    const char* name;
    std::string waiting;  // on the port from the start
    std::vector<ModemEvent> events;
    std::string stray = {};
    // Bytes the modem sends later, that long after the start.
    std::vector<std::pair<milliseconds, std::string>> later = {};
    // An exchange first: the command and the modem's answer to it, and the reply as judged.
    std::string command = {};
    std::string answer = {};
    std::string reply = {};
};

void printTo(const Arrival& c, std::ostream* os) {
    *os << c.name;
}

const std::string ReadHeader = "+CMGR: \"REC UNREAD\",\"+1\",,\"07/05/12,10:20:30+32\"\r\n";
// An announcement padded to the longest line a line may be (511 characters), and one longer.
const std::string Longest = "+CMTI: \"SM\",5" + std::string(496, ' ') + "\r\n";
const std::string Overlong = "+CMTI: \"SM\",5" + std::string(497, ' ') + "\r\n";
const std::string Longer = "+CMTI: \"SM\",5" + std::string(600, ' ') + "\r\n";

using A = Arrival;
const Arrival Arrivals[] = {
    // A line between exchanges.
    A("Idle", cmti("SM", "5"), {announced(cmti("SM", "5"), "SM", 5)}),
    A("IdleAmongOtherLines", "at\rOK\r\n\r\nRING\r\n" + cmti("SM", "5"),
      {line("at\rOK\r\n"), line("\r\n"), line("RING\r\n"), announced(cmti("SM", "5"), "SM", 5)}),
    A("AnotherStore", cmti("ME", "12"), {announced(cmti("ME", "12"), "ME", 12)}),
    // Garbage before or in it: the index is counted from "+CMTI", a name that is no store
    // leaves the store in use, no number reads 0, too large a number the largest.
    A("StrayCrBefore", "\r" + cmti("SM", "007"), {announced("\r" + cmti("SM", "007"), "SM", 7)}),
    A("GarbageBefore", "xx" + cmti("SM", "3"), {announced("xx" + cmti("SM", "3"), "SM", 3)}),
    A("NoIndex", cmti("SM", ""), {announced(cmti("SM", ""), "SM", 0)}),
    A("IndexPastTheIntRange", cmti("SM", "99999999999"),
      {announced(cmti("SM", "99999999999"), "SM", 2147483647)}),
    A("NoStoreName", "+CMTI: 12\r\n", {announced("+CMTI: 12\r\n", "", 0)}),
    A("NoStoreButSomethingElse", cmti("SMX", "3"), {announced(cmti("SMX", "3"), "", 0)}),
    // A line is what follows its last CR: this one is no announcement.
    A("CrInsideTheStoreName", "+CMTI: \"S\rM\",3\r\n", {line("+CMTI: \"S\rM\",3\r\n")}),
    A("DirectDeliveryIsNoAnnouncement", "+CMT: \"SM\",5\r\n", {line("+CMT: \"SM\",5\r\n")}),
    // Split over reads: a pause of 500 ms keeps the line, a longer one drops what came.
    A("SplitOverReads", "+CM", {announced(cmti("SM", "5"), "SM", 5)}, "",
      {{milliseconds(500), "TI: \"SM\",5\r\n"}}),
    A("SplitByALongerPause", "+CM", {line("TI: \"SM\",6\r\n")}, "+CM",
      {{milliseconds(501), "TI: \"SM\",6\r\n"}}),
    // Overlong: 511 characters with CR and LF is a line; one more, and the line goes with
    // the byte that overflowed it, and the next line starts after that byte.
    A("LongestLine", Longest, {announced(Longest, "SM", 5)}),
    A("Overlong", Overlong + cmti("SM", "6"), {announced(cmti("SM", "6"), "SM", 6)}, Overlong),
    A("OverlongByMore", Longer, {line(Longer.substr(512))}, Longer.substr(0, 512)),
    // Waiting before a command: drained, and a line cut by the drain completed in the reply.
    A("DuringADrain", "junk\r\n" + cmti("SM", "4") + "+CMT",
      {announced(cmti("SM", "4"), "SM", 4), announced(cmti("SM", "5"), "SM", 5)}, "junk\r\n", {},
      "at+cmgf=1", "I: \"SM\",5\r\nat+cmgf=1\r\r\nOK\r\n", "at+cmgf=1\r\r\nOK\r\n"),
    // Inside a reply: taken out of it; other unsolicited lines go to the stray log.
    A("InsideAReply", "", {announced(cmti("ME", "4"), "ME", 4)}, "RING\r\n", {}, "at+cmgd=1",
      "at+cmgd=1\r\r\n" + cmti("ME", "4") + "RING\r\nOK\r\n", "at+cmgd=1\r\r\nOK\r\n"),
    A("MessageTextIsNoAnnouncement", "", {}, "", {}, "at+cmgr=1",
      "at+cmgr=1\r\r\n" + ReadHeader + cmti("SM", "9") + "\r\nOK\r\n",
      "at+cmgr=1\r\r\n" + ReadHeader + cmti("SM", "9") + "\r\nOK\r\n"),
    // Past a reply's end and cut by the read: it reaches the next event whole.
    A("AfterAReplyCutByARead", "", {announced(cmti("SM", "4"), "SM", 4)}, "",
      {{milliseconds(100), "I: \"SM\",4\r\n"}}, "at", "at\r\r\nOK\r\n+CMT", "at\r\r\nOK\r\n"),
    // A reply that times out in the middle of an announcement gives its start back.
    A("InAReplyThatTimesOut", "", {announced(cmti("SM", "7"), "SM", 7)}, "",
      {{reply_timeout::Sim + milliseconds(200), "7\r\n"}}, "at+cmgr=7",
      "at+cmgr=7\r\r\n+CMTI: \"SM\",", "at+cmgr=7\r\r\n"),
};

class Announcements : public ::testing::TestWithParam<Arrival> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(port.OpenComPort("ttyFake:"));
        port.setStrayLog([this](std::string_view bytes) { stray.append(bytes); });
    }

    test::VirtualClock clock;
    test::FakeSerialLink link{clock};
    ComPort port{link, clock};
    std::string stray;
};

INSTANTIATE_TEST_SUITE_P(Ways, Announcements, ::testing::ValuesIn(Arrivals),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(Announcements, ComeOutOnceAsTheirPlace) {
    const Arrival& c = GetParam();
    link.feed(c.waiting);
    for (const auto& [delay, bytes] : c.later) {
        link.feedAfter(delay, bytes);
    }
    if (!c.command.empty()) {
        link.replyTo(c.command + "\r", c.answer);
        EXPECT_EQ(port.exchange(c.command, reply_timeout::Sim).text, c.reply);
    }
    std::vector<ModemEvent> events;
    // Each attempt without a line waits 500 ms: enough of them for everything to come.
    for (int attempt = 0; attempt < 8; ++attempt) {
        if (std::optional<ModemEvent> event = port.nextEvent()) {
            events.push_back(std::move(*event));
        }
    }
    EXPECT_EQ(events, c.events);
    EXPECT_EQ(stray, c.stray);
}

TEST_F(Announcements, WithoutWaitingOnlyWhatThePortHoldsComesOut) {
    link.replyTo("at\r", "at\r\r\n" + cmti("SM", "1") + "OK\r\n" + cmti("SM", "2") + "+CM");
    ASSERT_TRUE(port.exchange("at", reply_timeout::Quick).ok());
    EXPECT_EQ(port.nextEvent(ComPort::Wait::No), announced(cmti("SM", "1"), "SM", 1));
    EXPECT_EQ(port.nextEvent(ComPort::Wait::No), announced(cmti("SM", "2"), "SM", 2));
    const milliseconds before = clock.now();
    EXPECT_EQ(port.nextEvent(ComPort::Wait::No), std::nullopt);
    EXPECT_EQ(clock.now(), before);
    link.feed("TI: \"SM\",3\r\n");
    EXPECT_EQ(port.nextEvent(), announced(cmti("SM", "3"), "SM", 3)) << "the line's start waited";
}

TEST_F(Announcements, AStopOrAClosedPortEndsTheWait) {
    bool stop = true;
    port.setAbandon([&stop] { return stop; });
    link.feed(cmti("SM", "1"));
    EXPECT_EQ(port.nextEvent(), std::nullopt);
    stop = false;
    EXPECT_EQ(port.nextEvent(), announced(cmti("SM", "1"), "SM", 1));
    EXPECT_EQ(port.nextEvent(), std::nullopt);
    EXPECT_EQ(clock.now(), ComPort::ByteTimeout) << "one attempt waited for a byte";
    port.CloseComPort();
    EXPECT_EQ(port.nextEvent(), std::nullopt);
    EXPECT_EQ(clock.now(), ComPort::ByteTimeout);
}

}  // namespace
}  // namespace kv820
