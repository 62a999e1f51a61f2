// A whole session on a scripted modem: the stored messages handled at its start, new
// reports as they are announced, jobs from the window, a modem that goes away, and stops.
#include "core/reception/sms_session_worker.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/report/position_report.h"
#include "core/store/database.h"
#include "core/store/gpslog_store.h"
#include "support/scoped_time_zone.h"
#include "support/session_rig.h"
#include "support/temp_database_file.h"

namespace kv820 {
namespace {

using std::chrono::milliseconds;
using test::actLikeAModem;
using test::FakeSerialLink;
using test::ListCommand;
using test::StartDuration;
using test::TrackerImei;
using test::VirtualClock;
using Writes = std::vector<std::string>;

std::string entry(int index, const std::string& status, const std::string& body = "?35...") {
    const bool received = status.starts_with("REC");
    const std::string address =
        received ? "\"+886912345678\",,\"07/05/12,10:20:30+32\"" : "\"0912345678\",,";
    return "+CMGL: " + std::to_string(index) + ",\"" + status + "\"," + address + "\r\n" + body +
           "\r\n";
}

std::string listingReply(const std::string& entries) {
    return std::string(ListCommand) + "\r\n" + entries + "\r\nOK\r\n";
}

// Answers the listing of stored messages with `listing`.
auto listed(std::string listing) {
    return [listing](FakeSerialLink& modem) { modem.feed(listing); };
}

// The reads and deletes of the reports at these indexes, in this order.
Writes readAndDelete(std::initializer_list<int> indexes) {
    Writes writes;
    for (int i : indexes) {
        writes.push_back("at+cmgr=" + std::to_string(i) + "\r");
        writes.push_back("at+cmgd=" + std::to_string(i) + "\r");
    }
    return writes;
}

Writes then(Writes first, const Writes& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

class SmsSessionTest : public ::testing::Test {
  protected:
    SmsSessionTest()
        : link(clock), worker(link, clock, users, listener, {"ttyUSB0:", file.path()}) {
        users.replace({{"Truck", "0912345678", TrackerImei}});
        worker.localNow = test::may2007;
        actLikeAModem(link);
    }

    void stopAfterStored(std::size_t reports) {
        listener.onStored = [this, reports](const StoredReportEvent&) {
            if (listener.stored.size() >= reports) {
                worker.requestStop();
            }
        };
    }

    // What was written from the listing of stored messages on, without health checks.
    Writes writesAfterStart() const {
        return test::writesWithoutHealthChecks(link, test::StartWrites - 1);
    }

    std::vector<std::string> storedTimes() {
        Database db(file.path());
        std::vector<std::string> times;
        GpslogStore(db).forEachOldestFirst({TrackerImei, "", "~"}, [&](const GpslogRow& row) {
            times.push_back(row[ReceiveTime]);
            return true;
        });
        return times;
    }

    test::ScopedTimeZone zone{"CST-8"};
    test::TempDatabaseFile file;
    VirtualClock clock;
    FakeSerialLink link;
    UserRegistry users;
    test::RecordingListener listener;
    SmsSessionWorker worker;
};

TEST_F(SmsSessionTest, ReceivedMessagesStoredBeforeTheSessionAreHandledInIndexOrder) {
    actLikeAModem(link, listed(listingReply(entry(1, "STO UNSENT", "?1,356789012345678!") +
                                            entry(3, "REC READ") + entry(2, "REC UNREAD") +
                                            "+CMTI: \"SM\",7\r\n" + entry(4, "STO SENT") +
                                            entry(6, "REC UNREAD"))));
    stopAfterStored(4);
    worker.run();

    // An announcement inside the listing is handled after it.
    EXPECT_EQ(writesAfterStart(), then({ListCommand}, readAndDelete({2, 3, 6, 7})));
    EXPECT_EQ(storedTimes(),
              (std::vector<std::string>{"10:20:02", "10:20:03", "10:20:06", "10:20:07"}));
    EXPECT_NE(listener.log.find("+CMGL: 1,\"STO UNSENT\""), std::string::npos);
}

TEST_F(SmsSessionTest, AListingLongerThanOneReadArrivingInPiecesIsHandledWhole) {
    std::string entries;
    for (int i = 1; i <= 12; ++i) {
        entries += entry(i, i % 3 == 0 ? "STO UNSENT" : "REC READ", std::string(300, 'x'));
    }
    const std::string listing = listingReply(entries);
    // Gaps longer than one read's 500 ms: the listing must not end at a quiet moment.
    actLikeAModem(link, [listing](FakeSerialLink& modem) {
        const std::size_t size = listing.size() / 9 + 1;
        for (std::size_t i = 0; i * size < listing.size(); ++i) {
            modem.feedAfter(milliseconds(900) * static_cast<int>(i + 1),
                            listing.substr(i * size, size));
        }
    });
    stopAfterStored(8);
    worker.run();

    EXPECT_EQ(writesAfterStart(), then({ListCommand}, readAndDelete({1, 2, 4, 5, 7, 8, 10, 11})));
}

// A listing refused, or never answered (the session then waits out its time-out only and
// gets the modem back in step), is logged and reception goes on.
class SmsSessionListingFailure
    : public SmsSessionTest,
      public ::testing::WithParamInterface<std::pair<const char*, const char*>> {};

INSTANTIATE_TEST_SUITE_P(
    Replies, SmsSessionListingFailure,
    ::testing::Values(
        std::pair{"\r\n+CMS ERROR: 302\r\n",
                  "\r\n+CMS ERROR: 302\r\n\r\nThe stored SMS could not be listed.\r\n"},
        std::pair{"", "The list of stored SMS did not arrive whole.\r\n"}),
    [](const auto& info) { return std::string(*info.param.first ? "Refused" : "Silent"); });

TEST_P(SmsSessionListingFailure, IsLoggedAndReceptionGoesOn) {
    const auto [reply, logged] = GetParam();
    actLikeAModem(link, *reply ? std::function<void(FakeSerialLink&)>(listed(reply)) : nullptr);
    link.feedAfter(StartDuration + milliseconds(1000), "+CMTI: \"SM\",5\r\n");
    stopAfterStored(1);
    worker.run();

    const Writes resync = *reply ? Writes{} : Writes{"\x1b", "at\r"};
    EXPECT_EQ(writesAfterStart(), then(then({ListCommand}, resync), readAndDelete({5})));
    EXPECT_LE(clock.now(), StartDuration + reply_timeout::Listing + milliseconds(10000));
    EXPECT_NE(listener.log.find(logged), std::string::npos) << listener.log;
}

TEST_F(SmsSessionTest, AReportStoredBeforeAStopIsNotStoredTwiceAndItsSmsIsDeleted) {
    // The program stopped after storing the row of SMS 4 and before deleting it.
    {
        Database db(file.path());
        GpslogStore(db).append(toGpslogRow(decodePositionReport(
            splitReportPieces(test::storedReportReply("4")), users.snapshot())));
    }
    actLikeAModem(link, listed(listingReply(entry(4, "REC READ"))));
    stopAfterStored(1);
    worker.run();

    EXPECT_EQ(writesAfterStart(), then({ListCommand}, readAndDelete({4})));
    EXPECT_EQ(storedTimes(), std::vector<std::string>{"10:20:04"});
    EXPECT_TRUE(listener.stored.at(0).alreadyStored);
}

// An announcement inside a job's reply is handled once the jobs are done.
TEST_F(SmsSessionTest, QueuedJobsRunWholeBeforeTheFirstLineIsReadAndNoneAfterTheEnd) {
    const std::string text = std::string("?0,") + TrackerImei + "!";
    link.replyTo("at+cmgs=\"0912345678\"\r", "\r\n> ");
    link.replyTo(text + "\x1a\r", "\r\n+CMTI: \"SM\",7\r\n+CMGS: 12\r\n\r\nOK\r\n");
    link.feed("RING\r\n");  // waiting before the start: must not split the job
    std::string sent;
    worker.post([&](ComPort& port, MessageMode) {
        port.exchange("at+cmgs=\"0912345678\"", reply_timeout::Sim);
        sent = port.exchangeMessageText(text, "+CMGS", reply_timeout::Network).text;
    });
    stopAfterStored(1);
    worker.run();

    EXPECT_EQ(writesAfterStart(),
              then({ListCommand, "at+cmgs=\"0912345678\"\r", text + "\x1a\r"}, readAndDelete({7})));
    EXPECT_TRUE(sent.ends_with("OK\r\n"));
    EXPECT_FALSE(worker.post([](ComPort&, MessageMode) {}));
}

TEST_F(SmsSessionTest, AnAnnouncementFromThePhoneMemoryIsReadAndDeletedThere) {
    link.replyTo("at+cpms=\"ME\"\r", "\r\n+CPMS: 1,100,0,30,0,30\r\n\r\nOK\r\n");
    link.replyTo("at+cpms=\"SM\"\r", "\r\n+CPMS: 0,30,0,30,0,30\r\n\r\nOK\r\n");
    link.feedAfter(StartDuration + milliseconds(1000), "+CMTI: \"ME\",3\r\n");
    stopAfterStored(1);
    worker.run();

    EXPECT_EQ(writesAfterStart(), then(then({ListCommand, "at+cpms=\"ME\"\r"}, readAndDelete({3})),
                                       {"at+cpms=\"SM\"\r"}));
}

// A message whose announcement was lost is found by the storage poll, not at the next start.
TEST_F(SmsSessionTest, AMessageWithoutAnnouncementIsFoundByTheStoragePoll) {
    int listings = 0;
    actLikeAModem(
        link,
        [&listings](FakeSerialLink& modem) {
            modem.feed(listingReply(++listings > 1 ? entry(4, "REC UNREAD") : ""));
        },
        1);
    stopAfterStored(1);
    worker.run();

    EXPECT_EQ(storedTimes(), std::vector<std::string>{"10:20:04"});
    EXPECT_NE(listener.log.find("SMS 4 in \"SM\" was found without an announcement.\r\n"),
              std::string::npos)
        << listener.log;
    EXPECT_LT(clock.now(), StartDuration + SmsSessionWorker::StoragePoll);
}

// An idle session asks for its storage every 30 s and for the signal every 5 minutes; the
// storage answers prove the modem alive, so no "at" is sent on top. The operator's draft in
// the SIM is no reason to list it again.
TEST_F(SmsSessionTest, AnIdleSessionPollsItsStorageTwiceAMinute) {
    actLikeAModem(link, listed(listingReply(entry(1, "STO UNSENT"))), 1);
    const milliseconds idle = std::chrono::minutes(10);
    link.onWrite = [&, answer = link.onWrite](FakeSerialLink& modem, std::string_view bytes) {
        if (clock.now() >= StartDuration + idle) {
            worker.requestStop();
        }
        answer(modem, bytes);
    };
    worker.run();

    const Writes writes(link.writes.begin() + test::StartWrites, link.writes.end());
    // At 0 s, 30 s, ... 570 s; the stop came with the signal's question at 600 s.
    EXPECT_EQ(std::count(writes.begin(), writes.end(), "at+cpms?\r"), 20);
    EXPECT_EQ(std::count(writes.begin(), writes.end(), "at+csq\r"), 3);
    EXPECT_EQ(writes.size(), 23u) << "nothing else is asked of an idle modem";
}

TEST_F(SmsSessionTest, AStopDuringTheListingIsNoVanishing) {
    actLikeAModem(link, nullptr);
    link.onWrite = [&, answer = link.onWrite](FakeSerialLink& modem, std::string_view bytes) {
        if (bytes == ListCommand) {
            worker.requestStop();
        }
        answer(modem, bytes);
    };
    worker.run();

    EXPECT_EQ(writesAfterStart(), Writes{ListCommand});
    EXPECT_EQ(listener.log.find("gone"), std::string::npos);
    EXPECT_EQ(listener.ended, 1);
}

// A link that asks the session to stop at the start of the first read at or after a moment,
// the worst case: the read then waits its whole time-out.
class StopDuringReadLink final : public SerialLink {
  public:
    StopDuringReadLink(FakeSerialLink& inner, VirtualClock& clock, milliseconds at)
        : inner_(inner), clock_(clock), at_(at) {}

    bool open(const std::string& path) override { return inner_.open(path); }
    bool isOpen() const override { return inner_.isOpen(); }
    void close() override { inner_.close(); }
    bool write(std::string_view bytes) override { return inner_.write(bytes); }
    bool pulseBreak() override { return inner_.pulseBreak(); }
    std::string readAvailable(std::size_t maxBytes, milliseconds timeout) override {
        if (!requestedAt && worker && clock_.now() >= at_) {
            requestedAt = clock_.now();
            worker->requestStop();
        }
        return inner_.readAvailable(maxBytes, timeout);
    }

    SmsSessionWorker* worker = nullptr;
    std::optional<milliseconds> requestedAt;

  private:
    FakeSerialLink& inner_;
    VirtualClock& clock_;
    milliseconds at_;
};

class SmsSessionStopTest : public SmsSessionTest, public ::testing::WithParamInterface<int> {};

INSTANTIATE_TEST_SUITE_P(Moments, SmsSessionStopTest, ::testing::Values(1, 599, 4321));

TEST_P(SmsSessionStopTest, EndsWithinSixHundredMillisecondsOfTheRequest) {
    StopDuringReadLink stopping(link, clock, StartDuration + milliseconds(GetParam()));
    SmsSessionWorker session(stopping, clock, users, listener, {"ttyUSB0:", file.path()});
    stopping.worker = &session;
    session.run();

    ASSERT_TRUE(stopping.requestedAt.has_value());
    const milliseconds took = clock.now() - *stopping.requestedAt;
    EXPECT_LE(took, milliseconds(600));
    EXPECT_GE(took, milliseconds(500)) << "the request came just as an idle read began";
    EXPECT_EQ(listener.ended, 1);
    EXPECT_FALSE(link.isOpen());
}

}  // namespace
}  // namespace kv820
