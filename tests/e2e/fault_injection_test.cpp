// Faults of the modem line, the modem and the database during an SMS session over the real
// serial link: whatever happens, no report is lost and none is stored twice.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTest>
#include <chrono>
#include <ctime>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "support/temp_database_file.h"
#include "core/store/database.h"
#include "core/store/statement.h"
#include "e2e/e2e_database.h"
#include "e2e/minute_reports.h"
#include "e2e/session_thread.h"
#include "sim/pty_simulator.h"
#include "sim/text_mode_format.h"
#include "support/temp_dir.h"

namespace kv820 {
namespace {

using namespace std::chrono_literals;
using sim::FaultInjector;
using sim::ModemSimulator;
using sim::PtySimulator;
using sim::TrackerReport;
using test::MomentsOfMinutes;
using test::RecordingListener;
using test::ReportOfMinute;
using test::ReportsOfMinutes;
using test::SessionThread;
using test::StoredMoments;
using test::TrackerImei;

constexpr std::size_t RoomyModem = 128;  // messages the simulated SIM holds

std::string IntegrityCheck(const std::string& path) {
    Database db(path);
    Statement check(db, "PRAGMA integrity_check");
    return check.step() ? check.text(0).value_or("") : "";
}

// A session worker on its thread over a simulated modem with room for a burst.
class FaultInjectionEndToEnd : public ::testing::Test {
  protected:
    FaultInjectionEndToEnd() : modem(PtySimulator::modem(RoomyModem)) {
        users.replace({{"Truck", "0912345678", TrackerImei}});
    }

    std::unique_ptr<SessionThread> startSession() {
        auto session =
            std::make_unique<SessionThread>(modem->devicePath(), file.path(), users, listener);
        EXPECT_TRUE(session->waitFor([&] { return !listener.started.empty(); }));
        EXPECT_EQ(listener.started.back(), true);
        return session;
    }

    int inject(int minute) {
        return *modem->withModem(
            [&](ModemSimulator& m) { return m.injectReport(ReportOfMinute(TrackerImei, minute)); });
    }
    std::vector<int> indexesInModem() {
        return modem->withModem([](ModemSimulator& m) {
            std::vector<int> indexes;
            for (const auto& message : m.storage().list()) {
                indexes.push_back(message.index);
            }
            return indexes;
        });
    }
    bool logHas(const std::string& text) { return listener.log.find(text) != std::string::npos; }
    std::size_t storedEvents() { return listener.stored.size(); }

    test::TempDatabaseFile file;
    std::unique_ptr<PtySimulator> modem;
    UserRegistry users;
    RecordingListener listener;
};

TEST_F(FaultInjectionEndToEnd, ADatabaseLockedByAnotherWriterKeepsTheSmsAndReceptionGoesOn) {
    auto session = startSession();
    inject(0);
    ASSERT_TRUE(session->waitFor([&] { return storedEvents() == 1; }));

    // Another program takes the write lock: the worker's open connection can no longer
    // write, and its busy time-out runs out.
    auto competitor = std::make_unique<Database>(file.path());
    competitor->execute("BEGIN EXCLUSIVE");
    const int locked = inject(1);
    ASSERT_TRUE(session->waitFor([&] { return listener.storeFailures.size() == 1; }, 30s));
    {
        std::lock_guard lock(listener.mutex);
        EXPECT_TRUE(
            logHas("SMS " + std::to_string(locked) + " is a report that could not be stored ("))
            << listener.log;
        EXPECT_TRUE(logHas("it stays in the modem."));
    }
    EXPECT_EQ(indexesInModem(), std::vector<int>{locked});

    competitor->execute("ROLLBACK");
    competitor.reset();
    inject(2);
    ASSERT_TRUE(session->waitFor([&] { return storedEvents() == 2; }));
    EXPECT_EQ(StoredMoments(file.path()),
              (std::vector<std::string>{MomentsOfMinutes(3)[0], MomentsOfMinutes(3)[2]}));
    EXPECT_EQ(indexesInModem(), std::vector<int>{locked});

    // The kept report is taken at the next session start.
    session.reset();
    session = startSession();
    ASSERT_TRUE(session->waitFor([&] { return storedEvents() == 3; }));
    ASSERT_TRUE(session->waitFor([&] { return indexesInModem().empty(); }));
    EXPECT_EQ(StoredMoments(file.path()).size(), 3u);
}

// Where the reply to "at+cmgr=" is cut: in its header, or inside the report before its end
// mark. Either way nothing of it is stored, the SMS stays, and the next session start
// stores it once.
struct CutCase {
    const char* name;
    const char* cutAfter;  // the reply keeps this text and ten bytes past its start
};

void PrintTo(const CutCase& cut, std::ostream* out) {
    *out << cut.name;
}

class CutReplyEndToEnd : public FaultInjectionEndToEnd,
                         public ::testing::WithParamInterface<CutCase> {};

TEST_P(CutReplyEndToEnd, NothingOfACutReplyIsStoredAndTheReportIsTakenAtTheNextStart) {
    auto session = startSession();
    const int index = modem->withModem([&](ModemSimulator& m) {
        // The announcement leaves when the lock does, after the cut is in place.
        const int stored = *m.injectReport(ReportOfMinute(TrackerImei, 7));
        const std::string reply = "at+cmgr=" + std::to_string(stored) + "\r" +
                                  sim::readResponse(*m.storage().find(stored));
        m.faults().cutNext(reply.find(GetParam().cutAfter) + 10);
        return stored;
    });
    const std::string kept = "SMS " + std::to_string(index) + " was not read completely";
    ASSERT_TRUE(session->waitFor([&] { return logHas(kept); })) << listener.log;
    EXPECT_TRUE(StoredMoments(file.path()).empty());
    EXPECT_EQ(indexesInModem(), std::vector<int>{index});

    session.reset();
    session = startSession();
    ASSERT_TRUE(session->waitFor([&] { return storedEvents() == 1; }));
    ASSERT_TRUE(session->waitFor([&] { return indexesInModem().empty(); }));
    EXPECT_EQ(StoredMoments(file.path()), std::vector<std::string>{MomentsOfMinutes(8)[7]});
}

INSTANTIATE_TEST_SUITE_P(Cuts, CutReplyEndToEnd,
                         ::testing::Values(CutCase{"in_the_header", "+CMGR:"},
                                           CutCase{"in_the_report", "?35"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FaultInjectionEndToEnd, NoiseAndOverlongLinesBetweenReportsCostNoReport) {
    auto session = startSession();
    const std::vector<std::string> garbage = {
        FaultInjector::noise(64, 1), FaultInjector::overlongLine(600), FaultInjector::noise(600, 2),
        FaultInjector::overlongLine(600) + "\r\n", FaultInjector::noise(505, 3) + "\r\n"};
    for (std::size_t n = 0; n < garbage.size(); ++n) {
        modem->withModem([&](ModemSimulator& m) {
            m.injectNoise(garbage[n]);
            m.injectReport(ReportOfMinute(TrackerImei, static_cast<int>(n)));
        });
        ASSERT_TRUE(session->waitFor([&] { return storedEvents() == n + 1; })) << n;
    }
    ASSERT_TRUE(session->waitFor([&] { return indexesInModem().empty(); }));
    EXPECT_EQ(StoredMoments(file.path()), MomentsOfMinutes(static_cast<int>(garbage.size())));
}

TEST_F(FaultInjectionEndToEnd, ABurstOfAHundredReportsIsStoredWholeInOrder) {
    constexpr int Burst = 100;
    auto session = startSession();
    const auto indexes = modem->withModem(
        [&](ModemSimulator& m) { return m.injectBurst(ReportsOfMinutes(TrackerImei, Burst)); });
    ASSERT_EQ(indexes.size(), static_cast<std::size_t>(Burst));
    ASSERT_TRUE(session->waitFor([&] { return storedEvents() == Burst; }, 60s)) << storedEvents();
    ASSERT_TRUE(session->waitFor([&] { return indexesInModem().empty(); }));
    EXPECT_EQ(StoredMoments(file.path()), MomentsOfMinutes(Burst));
    std::lock_guard lock(listener.mutex);
    EXPECT_TRUE(listener.storeFailures.empty());
}

// kv820-callcenter --receive killed outright in the middle of a burst, then started again.
class KilledReceiverEndToEnd : public ::testing::Test {
  protected:
    static constexpr int StartMs = 40000;  // the real modem start pauses 2 x 5 s

    KilledReceiverEndToEnd() : modem(PtySimulator::modem(RoomyModem)) {
        test::CreateDatabaseWithTruck(path);
        receiver.setWorkingDirectory(QString::fromStdString(dir.path().string()));
    }
    ~KilledReceiverEndToEnd() override {
        if (receiver.state() != QProcess::NotRunning) {
            receiver.kill();
            receiver.waitForFinished();
        }
    }

    void startReceiver() {
        receiver.start(QStringLiteral(KV820_CALLCENTER_PROGRAM),
                       {QStringLiteral("--receive"), QString::fromStdString(modem->devicePath())});
        ASSERT_TRUE(receiver.waitForStarted());
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return modem->withModem([](ModemSimulator& m) { return m.sessionOpen(); }); },
            StartMs));
    }
    std::size_t messagesInModem() {
        return modem->withModem([](ModemSimulator& m) { return m.storage().size(); });
    }

    test::TempDir dir;
    std::string path = dir.file(DatabaseFileName);
    std::unique_ptr<PtySimulator> modem;
    QProcess receiver;
};

TEST_F(KilledReceiverEndToEnd, EveryReportIsStoredOnceAfterASigkillInABurst) {
    constexpr int Burst = 100;
    ASSERT_NO_FATAL_FAILURE(startReceiver());
    modem->withModem(
        [&](ModemSimulator& m) { m.injectBurst(ReportsOfMinutes(test::RegisteredImei, Burst)); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return StoredMoments(path).size() >= 10; }, StartMs));

    receiver.kill();  // SIGKILL: no handler runs, the port and the database are left as they are
    ASSERT_TRUE(receiver.waitForFinished(5000));
    EXPECT_EQ(receiver.exitStatus(), QProcess::CrashExit);
    ASSERT_GT(messagesInModem(), 0u) << "the kill came after the burst was handled";

    ASSERT_NO_FATAL_FAILURE(startReceiver());
    ASSERT_TRUE(QTest::qWaitFor([&] { return messagesInModem() == 0; }, StartMs));
    const std::vector<std::string> stored = StoredMoments(path);
    const std::vector<std::string> expected = MomentsOfMinutes(Burst);
    EXPECT_EQ(stored.size(), expected.size());
    EXPECT_EQ(std::set<std::string>(stored.begin(), stored.end()),
              std::set<std::string>(expected.begin(), expected.end()));
    EXPECT_EQ(IntegrityCheck(path), "ok");
}

}  // namespace
}  // namespace kv820
