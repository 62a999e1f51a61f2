// Stored messages handled when a session starts, a report read twice stored once, and a
// modem that goes away during a session.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/modem/position_report.h"
#include "core/modem/report_pieces.h"
#include "core/modem/scoped_time_zone.h"
#include "core/modem/session_rig.h"
#include "core/modem/sms_session_worker.h"
#include "core/modem/stored_message_list_read.h"
#include "core/modem/temp_database_file.h"
#include "core/store/database.h"
#include "core/store/gpslog_store.h"
#include "support/fake_serial_link.h"
#include "support/virtual_clock.h"

namespace kv820 {
namespace {

using std::chrono::milliseconds;
using test::ActLikeAModem;
using test::FakeSerialLink;
using test::ListCommand;
using test::RecordingListener;
using test::StartDuration;
using test::StartWrites;
using test::TrackerImei;
using test::VirtualClock;

std::string Entry(int index, const std::string& status, const std::string& body = "?35...") {
    const bool received = status.starts_with("REC");
    const std::string address =
        received ? "\"+886912345678\",,\"07/05/12,10:20:30+32\"" : "\"0912345678\",,";
    return "+CMGL: " + std::to_string(index) + ",\"" + status + "\"," + address + "\r\n" + body +
           "\r\n";
}

std::string Listing(const std::string& entries) {
    return std::string(ListCommand) + "\r\n" + entries + "\r\nOK\r\n";
}

// Feeds the listing in pieces, `gap` apart, as a slow modem sends a long one.
auto InPieces(std::string listing, std::size_t pieces, milliseconds gap) {
    return [listing, pieces, gap](FakeSerialLink& modem) {
        const std::size_t size = listing.size() / pieces + 1;
        for (std::size_t i = 0; i * size < listing.size(); ++i) {
            modem.feedAfter(gap * static_cast<int>(i + 1), listing.substr(i * size, size));
        }
    };
}

class SmsSessionCatchUpTest : public ::testing::Test {
  protected:
    SmsSessionCatchUpTest() : link(clock) { users.replace({{"Truck", "0912345678", TrackerImei}}); }

    // Runs a session until `reports` reports are published, or until it ends by itself.
    void runUntilStored(std::size_t reports) {
        SmsSessionWorker worker(link, clock, users, listener, {"ttyUSB0:", file.path()});
        worker.localNow = test::May2007;
        listener.onStored = [&](const StoredReportEvent&) {
            if (listener.stored.size() >= reports) {
                worker.requestStop();
            }
        };
        if (reports == 0) {
            link.feedAfter(StartDuration + milliseconds(30000), "RING\r\n");
            listener.onLog = [&](std::string_view text) {
                if (text == "RING\r\n") {
                    worker.requestStop();
                }
            };
        }
        worker.run();
    }

    std::vector<std::string> writesAfterStart() const {
        return test::WritesWithoutHealthChecks(link, StartWrites - 1);
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
    RecordingListener listener;
};

TEST_F(SmsSessionCatchUpTest, ReceivedMessagesStoredBeforeTheSessionAreHandledInIndexOrder) {
    ActLikeAModem(link, [](FakeSerialLink& modem) {
        modem.feed(Listing(Entry(1, "STO UNSENT", "?1,356789012345678!") + Entry(3, "REC READ") +
                           Entry(2, "REC UNREAD") + Entry(4, "STO SENT") + Entry(6, "REC UNREAD")));
    });

    runUntilStored(3);

    EXPECT_EQ(writesAfterStart(),
              (std::vector<std::string>{ListCommand, "at+cmgr=2\r", "at+cmgd=2\r", "at+cmgr=3\r",
                                        "at+cmgd=3\r", "at+cmgr=6\r", "at+cmgd=6\r"}));
    EXPECT_EQ(storedTimes(), (std::vector<std::string>{"10:20:02", "10:20:03", "10:20:06"}));
    ASSERT_EQ(listener.stored.size(), 3u);
    EXPECT_EQ(listener.stored[0].report.userName, "Truck");
    EXPECT_NE(listener.log.find("+CMGL: 1,\"STO UNSENT\""), std::string::npos)
        << "the listing shows in the modem log";
}

TEST_F(SmsSessionCatchUpTest, AListingLongerThanOneReadArrivingInPiecesIsHandledWhole) {
    std::string entries;
    const std::string longBody(300, 'x');
    for (int i = 1; i <= 12; ++i) {
        entries += Entry(i, i % 3 == 0 ? "STO UNSENT" : "REC READ", longBody);
    }
    const std::string listing = Listing(entries);
    ASSERT_GT(listing.size(), 3000u);
    // Gaps longer than one read's 500 ms: the listing must not end at a quiet moment.
    ActLikeAModem(link, InPieces(listing, 9, milliseconds(900)));

    runUntilStored(8);

    std::vector<std::string> expected{ListCommand};
    for (int i : {1, 2, 4, 5, 7, 8, 10, 11}) {
        expected.push_back("at+cmgr=" + std::to_string(i) + "\r");
        expected.push_back("at+cmgd=" + std::to_string(i) + "\r");
    }
    EXPECT_EQ(writesAfterStart(), expected);
    EXPECT_EQ(storedTimes().size(), 8u);
}

TEST_F(SmsSessionCatchUpTest, NothingStoredMeansNothingReadAndNothingLogged) {
    ActLikeAModem(link);
    runUntilStored(0);
    EXPECT_EQ(writesAfterStart(), std::vector<std::string>{ListCommand});
    EXPECT_EQ(listener.log, "RING\r\n\r\n");
}

TEST_F(SmsSessionCatchUpTest, ARefusedListingIsLoggedAndReceptionGoesOn) {
    ActLikeAModem(link, [](FakeSerialLink& modem) { modem.feed("\r\n+CMS ERROR: 302\r\n"); });
    link.feedAfter(StartDuration + milliseconds(2000), "+CMTI: \"SM\",5\r\n");

    runUntilStored(1);

    EXPECT_EQ(writesAfterStart(),
              (std::vector<std::string>{ListCommand, "at+cmgr=5\r", "at+cmgd=5\r"}));
    EXPECT_TRUE(listener.log.starts_with(
        "\r\n+CMS ERROR: 302\r\n\r\nThe stored SMS could not be listed.\r\n"))
        << listener.log;
}

TEST_F(SmsSessionCatchUpTest, ASilentModemDelaysReceptionByTheListingTimeOutOnly) {
    ActLikeAModem(link, nullptr);
    link.feedAfter(StartDuration + milliseconds(1000), "+CMTI: \"SM\",5\r\n");

    runUntilStored(1);

    EXPECT_EQ(writesAfterStart(), (std::vector<std::string>{ListCommand, "\x1b", "at\r",
                                                            "at+cmgr=5\r", "at+cmgd=5\r"}));
    EXPECT_LE(clock.now(), StartDuration + reply_timeout::Listing + milliseconds(10000));
    EXPECT_NE(listener.log.find("The list of stored SMS did not arrive whole.\r\n"),
              std::string::npos);
}

TEST_F(SmsSessionCatchUpTest, AnAnnouncementInsideTheListingIsHandledAfterIt) {
    ActLikeAModem(link, [](FakeSerialLink& modem) {
        modem.feed(std::string(ListCommand) + "\r\n" + Entry(2, "REC UNREAD") +
                   "+CMTI: \"SM\",7\r\n" + Entry(3, "REC UNREAD") + "\r\nOK\r\n");
    });

    runUntilStored(3);

    EXPECT_EQ(writesAfterStart(),
              (std::vector<std::string>{ListCommand, "at+cmgr=2\r", "at+cmgd=2\r", "at+cmgr=3\r",
                                        "at+cmgd=3\r", "at+cmgr=7\r", "at+cmgd=7\r"}));
}

TEST_F(SmsSessionCatchUpTest, AReportStoredBeforeAStopIsNotStoredTwiceAndItsSmsIsDeleted) {
    // The program stopped after storing the row of SMS 4 and before deleting it.
    {
        Database db(file.path());
        const PositionReport report =
            DecodePositionReport(SplitReportPieces(test::StoredReportReply("4")), users.snapshot());
        GpslogStore(db).append(ToGpslogRow(report));
    }
    ASSERT_EQ(storedTimes().size(), 1u);
    ActLikeAModem(link, [](FakeSerialLink& modem) { modem.feed(Listing(Entry(4, "REC READ"))); });

    runUntilStored(1);

    EXPECT_EQ(writesAfterStart(),
              (std::vector<std::string>{ListCommand, "at+cmgr=4\r", "at+cmgd=4\r"}));
    EXPECT_EQ(storedTimes(), std::vector<std::string>{"10:20:04"});
    ASSERT_EQ(listener.stored.size(), 1u);
    EXPECT_TRUE(listener.stored[0].alreadyStored);
}

TEST_F(SmsSessionCatchUpTest, AVanishedModemIsWaitedForAndReceptionResumesWithItsCatchUp) {
    bool back = false;
    ActLikeAModem(link, [&back](FakeSerialLink& modem) {
        modem.feed(back ? Listing(Entry(6, "REC UNREAD")) : Listing(""));
    });
    link.feedAfter(StartDuration + milliseconds(1000), "+CMTI: \"SM\",5\r\n");
    SmsSessionWorker worker(link, clock, users, listener, {"ttyUSB0:", file.path()});
    listener.onStored = [&](const StoredReportEvent& event) {
        if (event.report.receiveTime == "10:20:05") {
            link.vanish();  // pulled out right after the first report
        } else {
            worker.requestStop();
        }
    };
    listener.onLog = [&](std::string_view text) {
        if (text.starts_with("Trying to start the modem again (attempt 3)")) {
            link.reappear();
            back = true;
        }
    };

    worker.run();

    EXPECT_EQ(storedTimes(), (std::vector<std::string>{"10:20:05", "10:20:06"}));
    EXPECT_NE(listener.log.find(SmsSessionWorker::ModemLostText), std::string::npos);
    EXPECT_NE(listener.log.find(SmsSessionWorker::ModemBackText), std::string::npos);
    using State = SessionHealth::State;
    EXPECT_EQ(listener.states, (std::vector<State>{State::Receiving, State::WaitingForModem,
                                                   State::Receiving, State::Idle}));
    // Pauses of 1 s, 2 s and 4 s before the three attempts.
    EXPECT_GE(clock.now(), StartDuration + milliseconds(1000 + 7000));
}

TEST_F(SmsSessionCatchUpTest, AHungModemIsNoticedOnAQuietLineAndStartedAgain) {
    ActLikeAModem(link);
    SmsSessionWorker worker(link, clock, users, listener, {"ttyUSB0:", file.path()});
    link.feedAfter(StartDuration + milliseconds(1000), "RING\r\n");
    listener.onLog = [&](std::string_view text) {
        if (text == "RING\r\n") {
            link.hung = true;  // the last thing it ever said
        } else if (text.starts_with("Trying to start the modem again")) {
            worker.requestStop();
        }
    };

    worker.run();

    EXPECT_NE(listener.log.find(SmsSessionWorker::ModemLostText), std::string::npos);
    EXPECT_GE(clock.now(), StartDuration + SmsSessionWorker::QuietCheck);
    EXPECT_LE(clock.now(), StartDuration + SmsSessionWorker::QuietCheck + milliseconds(15000));
}

TEST_F(SmsSessionCatchUpTest, ASimNearlyFullIsAWarningAndItsMessagesAreListed) {
    ActLikeAModem(
        link, [](FakeSerialLink& modem) { modem.feed("at+cmgl=\"ALL\"\r\r\nOK\r\n"); }, 29);
    SmsSessionWorker worker(link, clock, users, listener, {"ttyUSB0:", file.path()});
    link.feedAfter(StartDuration + milliseconds(1000), "RING\r\n");
    listener.onLog = [&](std::string_view text) {
        if (text == "RING\r\n") {
            worker.requestStop();
        }
    };

    worker.run();

    EXPECT_NE(listener.log.find("The SIM storage is nearly full (29/30)"), std::string::npos);
    EXPECT_EQ(std::count(link.writes.begin(), link.writes.end(), ListCommand), 2);
}

TEST_F(SmsSessionCatchUpTest, AStopWhileWaitingForTheModemEndsTheWaitAtOnce) {
    ActLikeAModem(link);
    SmsSessionWorker worker(link, clock, users, listener, {"ttyUSB0:", file.path()});
    milliseconds stoppedAt{0};
    listener.onLog = [&](std::string_view text) {
        if (text.starts_with("Trying to start the modem again (attempt 4)")) {
            stoppedAt = clock.now();
            worker.requestStop();  // "Close SMS" during a 8 s pause
        }
    };
    worker.post([this](ComPort&) { link.vanish(); });

    worker.run();

    EXPECT_EQ(listener.ended, 1);
    EXPECT_LT(clock.now() - stoppedAt, milliseconds(1000));
    EXPECT_FALSE(link.isOpen());
}

TEST_F(SmsSessionCatchUpTest, AStopDuringTheListingIsNoVanishing) {
    ActLikeAModem(link, nullptr);
    SmsSessionWorker worker(link, clock, users, listener, {"ttyUSB0:", file.path()});
    // Stop while the listing is still being waited for.
    auto answer = link.onWrite;
    link.onWrite = [&](FakeSerialLink& modem, std::string_view bytes) {
        if (bytes == ListCommand) {
            worker.requestStop();
        }
        answer(modem, bytes);
    };

    worker.run();

    EXPECT_EQ(writesAfterStart(), std::vector<std::string>{ListCommand});
    EXPECT_EQ(listener.log.find("gone"), std::string::npos);
    EXPECT_EQ(listener.ended, 1);
}

}  // namespace
}  // namespace kv820
