#include "core/modem/sms_session_worker.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <future>
#include <mutex>
#include <thread>

#include "core/modem/report_reply.h"
#include "core/modem/scoped_time_zone.h"
#include "core/modem/session_rig.h"
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
using test::May2007;
using test::RecordingListener;
using test::StartDuration;
using test::StartWrites;
using test::TrackerImei;
using test::TwoDigits;
using test::VirtualClock;

class SmsSessionWorkerTest : public ::testing::Test {
  protected:
    SmsSessionWorkerTest()
        : link(clock), worker(link, clock, users, listener, {"ttyUSB0:", file.path()}) {
        users.replace({{"Truck", "0912345678", TrackerImei}});
        worker.localNow = May2007;
        ActLikeAModem(link);
    }

    std::vector<std::string> writesAfterStart() const {
        return test::WritesWithoutHealthChecks(link, StartWrites);
    }

    test::ScopedTimeZone zone{"CST-8"};
    test::TempDatabaseFile file;
    VirtualClock clock;
    FakeSerialLink link;
    UserRegistry users;
    RecordingListener listener;
    SmsSessionWorker worker;
};

TEST_F(SmsSessionWorkerTest, FailedStartLogsTheErrorAndEnds) {
    link.openSucceeds = false;
    worker.run();
    EXPECT_EQ(listener.log, "COM Port ERROR!!!");
    EXPECT_EQ(listener.started, std::vector<bool>{false});
    EXPECT_EQ(listener.ended, 1);
    EXPECT_FALSE(worker.post([](ComPort&) {}));
}

class SmsSessionBurstTest : public SmsSessionWorkerTest,
                            public ::testing::WithParamInterface<int> {};

// The burst arrives while the session reads lines, or already during the modem start,
// where the start's short reads take part of it.
INSTANTIATE_TEST_SUITE_P(Arrivals, SmsSessionBurstTest, ::testing::Values(12000, 5700, 11000));

TEST_P(SmsSessionBurstTest, TwentyAnnouncementsAreStoredWholeAndInOrder) {
    std::string burst;
    for (int i = 1; i <= 20; ++i) {
        burst += "+CMTI: \"SM\"," + std::to_string(i) + "\r\n";
    }
    link.feedAfter(milliseconds(GetParam()), burst);
    listener.onStored = [this](const StoredReportEvent&) {
        if (listener.stored.size() == 20) {
            worker.requestStop();
        }
    };

    worker.run();

    std::vector<std::string> expectedWrites;
    for (int i = 1; i <= 20; ++i) {
        expectedWrites.push_back("at+cmgr=" + std::to_string(i) + "\r");
        expectedWrites.push_back("at+cmgd=" + std::to_string(i) + "\r");
    }
    EXPECT_EQ(writesAfterStart(), expectedWrites);
    Database db(file.path());
    std::vector<std::string> times;
    GpslogStore(db).forEachOldestFirst({TrackerImei, "", "~"}, [&](const GpslogRow& row) {
        times.push_back(row[ReceiveTime]);
        return true;
    });
    ASSERT_EQ(times.size(), 20u);
    for (int i = 1; i <= 20; ++i) {
        EXPECT_EQ(times[i - 1], "10:20:" + TwoDigits(i));
        const StoredReportEvent& event = listener.stored[i - 1];
        EXPECT_EQ(event.report.receiveTime, "10:20:" + TwoDigits(i));
    }
    EXPECT_EQ(listener.stored[0].historyRange.from, "2006/05/1212:00:00");
    EXPECT_EQ(listener.ended, 1);
    EXPECT_FALSE(link.isOpen());
}

TEST_F(SmsSessionWorkerTest, EveryLineIsLoggedWithALineBreak) {
    link.feedAfter(StartDuration + milliseconds(100), "\r\nRING\r\n");
    link.feedAfter(StartDuration + milliseconds(3000), "+CMTI: \"SM\",4\r\n");
    listener.onStored = [this](const StoredReportEvent&) { worker.requestStop(); };
    worker.run();
    EXPECT_TRUE(listener.log.starts_with("\r\n\r\nRING\r\n\r\n+CMTI: \"SM\",4\r\n\r\nat+cmgr=4"))
        << listener.log;
}

TEST_F(SmsSessionWorkerTest, QueuedJobsRunWholeBeforeTheFirstLineIsRead) {
    link.replyTo("at+cmgs=\"0912345678\"\r", "\r\n> ");
    link.replyTo(std::string("?0,") + TrackerImei + "!\x1a\r", "\r\n+CMGS: 12\r\n\r\nOK\r\n");
    link.feed("RING\r\n");  // waiting before the start: must not split the job
    std::vector<std::string> replies;
    worker.post([&](ComPort& port) {
        replies.push_back(port.Exchange("at+cmgs=\"0912345678\"", reply_timeout::Sim).text);
        replies.push_back(port.ExchangeMessageText(std::string("?0,") + TrackerImei + "!", "+CMGS",
                                                   reply_timeout::Network)
                              .text);
    });
    worker.post([&](ComPort&) { worker.requestStop(); });

    worker.run();

    EXPECT_EQ(writesAfterStart(),
              (std::vector<std::string>{"at+cmgs=\"0912345678\"\r",
                                        std::string("?0,") + TrackerImei + "!\x1a\r"}));
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_TRUE(replies[1].ends_with("OK\r\n"));
}

TEST_F(SmsSessionWorkerTest, AnnouncementInsideAJobsReplyIsHandled) {
    link.replyTo("at+creg?\r", "\r\n+CMTI: \"SM\",7\r\n+CREG: 0,1\r\n\r\nOK\r\n");
    worker.post([](ComPort& port) { port.Exchange("at+creg?", reply_timeout::Quick); });
    listener.onStored = [this](const StoredReportEvent&) { worker.requestStop(); };

    worker.run();

    EXPECT_EQ(writesAfterStart(),
              (std::vector<std::string>{"at+creg?\r", "at+cmgr=7\r", "at+cmgd=7\r"}));
    ASSERT_EQ(listener.stored.size(), 1u);
    EXPECT_EQ(listener.stored[0].report.userName, "Truck");
}

TEST_F(SmsSessionWorkerTest, JobPostedFromAnotherThreadRunsOnTheSessionThread) {
    std::promise<std::thread::id> ranOn;
    std::thread session([this] { worker.run(); });
    while (true) {
        {
            std::lock_guard lock(listener.mutex);
            if (!listener.started.empty()) {
                break;
            }
        }
        std::this_thread::yield();
    }
    ASSERT_TRUE(worker.post([&](ComPort& port) {
        port.SendAtCommand("at+cjob");
        ranOn.set_value(std::this_thread::get_id());
    }));
    auto done = ranOn.get_future();
    const bool ran = done.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    worker.requestStop();
    session.join();
    ASSERT_TRUE(ran);
    EXPECT_NE(done.get(), std::this_thread::get_id());
    EXPECT_EQ(std::count(link.writes.begin(), link.writes.end(), "at+cjob\r"), 1);
    EXPECT_EQ(listener.ended, 1);
}

TEST_F(SmsSessionWorkerTest, WithoutADatabaseReportsStayInTheModemAndReceptionGoesOn) {
    RecordingListener noStore;
    SmsSessionWorker session(link, clock, users, noStore, {"ttyUSB0:", file.path() + ".none"});
    link.feedAfter(StartDuration + milliseconds(1000), "+CMTI: \"SM\",3\r\n");
    link.feedAfter(StartDuration + milliseconds(3000), "RING\r\n");
    noStore.onLog = [&](std::string_view text) {
        if (text == "RING\r\n") {
            session.requestStop();
        }
    };

    session.run();

    EXPECT_EQ(writesAfterStart(), std::vector<std::string>{"at+cmgr=3\r"});
    EXPECT_EQ(noStore.storeFailures, std::vector<std::string>{"no database connection"});
    EXPECT_NE(noStore.log.find("SMS 3 is a report that could not be stored"), std::string::npos);
    EXPECT_TRUE(noStore.stored.empty());
}

TEST_F(SmsSessionWorkerTest, JobsPostedAfterTheEndAreRefused) {
    worker.post([this](ComPort&) { worker.requestStop(); });
    worker.run();
    EXPECT_FALSE(worker.post([](ComPort&) {}));
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

class SmsSessionStopTest : public ::testing::TestWithParam<int> {};

TEST_P(SmsSessionStopTest, EndsWithinSixHundredMillisecondsOfTheRequest) {
    test::TempDatabaseFile file;
    VirtualClock clock;
    FakeSerialLink fake(clock);
    ActLikeAModem(fake);
    StopDuringReadLink link(fake, clock, StartDuration + milliseconds(GetParam()));
    UserRegistry users;
    RecordingListener listener;
    SmsSessionWorker worker(link, clock, users, listener, {"ttyUSB0:", file.path()});
    link.worker = &worker;

    worker.run();

    ASSERT_TRUE(link.requestedAt.has_value());
    const milliseconds took = clock.now() - *link.requestedAt;
    EXPECT_LE(took, milliseconds(600));
    EXPECT_GE(took, milliseconds(500)) << "the request came just as an idle read began";
    EXPECT_EQ(listener.ended, 1);
    EXPECT_FALSE(fake.isOpen());
}

TEST_F(SmsSessionWorkerTest, AnnouncementsLeftWhenThePortVanishesStayInTheModem) {
    link.feedAfter(milliseconds(12000),
                   "+CMTI: \"SM\",1\r\n+CMTI: \"SM\",2\r\n"
                   "+CMTI: \"SM\",3\r\n+CMTI: \"SM\",4\r\n");
    const auto actLikeAModem = link.onWrite;
    milliseconds vanishedAt{0};
    link.onWrite = [&, actLikeAModem](FakeSerialLink& modem, std::string_view bytes) {
        actLikeAModem(modem, bytes);
        if (bytes == "at+cmgd=1\r") {
            modem.vanish();  // pulled out in the middle of the burst
            vanishedAt = clock.now();
        }
    };
    listener.onLog = [this](std::string_view text) {
        if (text == SmsSessionWorker::ModemLostText) {
            worker.requestStop();
        }
    };

    worker.run();

    // Reading the rest would only wait out a read each: they are left for the next session.
    EXPECT_LE(clock.now() - vanishedAt, reply_timeout::Sim + SmsSessionWorker::LinePause);
    EXPECT_EQ(writesAfterStart(), (std::vector<std::string>{"at+cmgr=1\r", "at+cmgd=1\r"}));
    EXPECT_EQ(listener.stored.size(), 1u);
    EXPECT_TRUE(listener.log.ends_with(SmsSessionWorker::ModemLostText)) << listener.log;
    EXPECT_EQ(listener.ended, 1);
}

// Keeps modem lines apart from the other log texts, as a log box with a line rule does.
class LineSortingListener final : public SmsSessionListener {
  public:
    void modemLog(std::string_view text) override { texts.emplace_back(text); }
    void modemLine(std::string_view line) override { lines.emplace_back(line); }
    void sessionStarted(bool) override {}
    void reportStored(const StoredReportEvent&) override { ++stored; }
    void reportStoreFailed(const PositionReport&, std::string_view) override {}
    void sessionEnded() override {}

    std::vector<std::string> lines;
    std::vector<std::string> texts;
    int stored = 0;
};

TEST_F(SmsSessionWorkerTest, ModemLinesReachTheListenerAsLinesAndRepliesAsTexts) {
    LineSortingListener sorting;
    SmsSessionWorker session(link, clock, users, sorting, {"ttyUSB0:", file.path()});
    link.feedAfter(StartDuration + milliseconds(100), "RING\r\n+CMTI: \"SM\",4\r\n");
    // Stop once the report is through.
    SmsSessionWorker* running = &session;
    link.onWrite = [inner = link.onWrite, running](FakeSerialLink& modem, std::string_view bytes) {
        inner(modem, bytes);
        if (bytes.starts_with("at+cmgd=")) {
            running->post([running](ComPort&) { running->requestStop(); });
        }
    };

    session.run();

    EXPECT_EQ(sorting.lines, (std::vector<std::string>{"RING\r\n", "+CMTI: \"SM\",4\r\n"}));
    ASSERT_EQ(sorting.texts.size(), 4u);
    EXPECT_TRUE(sorting.texts[0].starts_with("at+cmgr=4"));
    EXPECT_EQ(sorting.texts[1], "\r\n");
    EXPECT_EQ(sorting.texts[2], "at+cmgd=4\r\r\nOK\r\n");
    EXPECT_EQ(sorting.stored, 1);
}

INSTANTIATE_TEST_SUITE_P(Moments, SmsSessionStopTest, ::testing::Values(1, 300, 599, 600, 4321));

}  // namespace
}  // namespace kv820
