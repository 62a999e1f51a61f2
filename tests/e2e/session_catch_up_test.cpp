// The SMS session against the simulated modem through the real serial link: the modem going
// away, hanging or coming back, and a SIM filling up.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include <chrono>

#include "core/modem/sms_session_worker.h"
#include "core/store/database.h"
#include "core/store/gpslog_store.h"
#include "e2e/session_thread.h"
#include "sim/pty_simulator.h"
#include "sim/text_mode_format.h"
#include "support/temp_database_file.h"

namespace kv820 {
namespace {

using namespace std::chrono_literals;
using sim::MessageStatus;
using sim::ModemSimulator;
using sim::PtySimulator;
using sim::TrackerReport;
using test::RecordingListener;
using test::SessionThread;
using test::TrackerImei;

std::string ReportAt(int minute) {
    return sim::formatReportBody(TrackerReport::at(TrackerImei, 121.502057, 25.052057,
                                                   1336780800 + 60 * minute));  // 2012-05-12
}

class SessionCatchUpEndToEnd : public ::testing::Test {
  protected:
    SessionCatchUpEndToEnd() : modem(PtySimulator::modem()) {
        users.replace({{"Truck", "0912345678", TrackerImei}});
    }

    std::size_t storedRows() {
        Database db(file.path());
        std::size_t rows = 0;
        GpslogStore(db).forEachOldestFirst({TrackerImei, "", "~"}, [&](const GpslogRow&) {
            ++rows;
            return true;
        });
        return rows;
    }

    std::vector<sim::StoredMessage> modemMessages() {
        return modem->withModem([](ModemSimulator& m) { return m.storage().list(); });
    }

    test::TempDatabaseFile file;
    std::unique_ptr<PtySimulator> modem;
    UserRegistry users;
    RecordingListener listener;
};

TEST_F(SessionCatchUpEndToEnd, AVanishedModemIsWaitedForAndCloseEndsTheWaitAtOnce) {
    SessionThread session(modem->devicePath(), file.path(), users, listener);
    ASSERT_TRUE(session.waitFor([&] { return listener.started == std::vector<bool>{true}; }));
    modem->withModem([](ModemSimulator& m) {
        m.injectReport(TrackerReport::at(TrackerImei, 121.5, 25.05, 1336780800));
    });
    ASSERT_TRUE(session.waitFor([&] { return listener.stored.size() == 1; }));

    modem->vanish();

    ASSERT_TRUE(session.waitFor([&] {
        return listener.log.find("Trying to start the modem again (attempt 1)") !=
               std::string::npos;
    })) << "the session must notice by itself and wait for the modem";
    EXPECT_FALSE(session.endsWithin(0s));
    const auto closedAt = std::chrono::steady_clock::now();
    session.worker().requestStop();  // "Close SMS"
    ASSERT_TRUE(session.endsWithin(2s));
    EXPECT_LT(std::chrono::steady_clock::now() - closedAt, 1s);
    std::lock_guard lock(listener.mutex);
    EXPECT_EQ(listener.ended, 1);
}

TEST_F(SessionCatchUpEndToEnd, AModemPluggedInAgainIsTakenBackAndNothingIsLostOrDoubled) {
    constexpr int Burst = 10;
    const std::string link = std::filesystem::path(file.path()).parent_path() / "kv820-modem";
    modem->setStablePath(link);
    modem->addReplyDelay({{"cmgr"}, 200ms, 200ms});  // the burst lasts a few seconds
    SessionThread session(link, file.path(), users, listener);
    ASSERT_TRUE(session.waitFor([&] { return listener.started == std::vector<bool>{true}; }));
    modem->withModem([](ModemSimulator& m) {
        for (int minute = 0; minute < Burst; ++minute) {
            m.injectSms(std::string(ModemSimulator::DefaultSender), ReportAt(minute));
        }
    });
    ASSERT_TRUE(session.waitFor([&] { return listener.stored.size() >= 2; }));

    modem->vanish();  // pulled out in the middle of the burst
    ASSERT_TRUE(session.waitFor(
        [&] { return listener.log.find("Trying to start the modem again") != std::string::npos; }));
    modem->reappear();  // and plugged in again: a new terminal behind the same name

    ASSERT_TRUE(session.waitFor(
        [&] { return listener.log.find(SmsSessionWorker::ModemBackText) != std::string::npos; }));
    ASSERT_TRUE(session.waitFor([&] { return modemMessages().empty(); }, 40s)) << listener.log;
    EXPECT_EQ(storedRows(), static_cast<std::size_t>(Burst)) << "each report stored once";
}

TEST_F(SessionCatchUpEndToEnd, AHungModemIsNoticedAndWhatArrivedMeanwhileIsStoredOnceBack) {
    SmsSessionWorker::Settings settings{modem->devicePath() + ":", file.path()};
    settings.quietCheck = 1s;
    SessionThread session(settings, users, listener);
    ASSERT_TRUE(session.waitFor([&] { return listener.started == std::vector<bool>{true}; }));
    modem->withModem([](ModemSimulator& m) {
        m.faults().setHung(true);  // its port stays open, it says nothing, not even "+CMTI"
        m.injectSms(std::string(ModemSimulator::DefaultSender), ReportAt(1));
    });
    ASSERT_TRUE(session.waitFor(
        [&] { return listener.log.find(SmsSessionWorker::ModemLostText) != std::string::npos; }));
    modem->withModem([](ModemSimulator& m) { m.faults().setHung(false); });

    ASSERT_TRUE(session.waitFor([&] { return modemMessages().empty(); })) << listener.log;
    EXPECT_EQ(storedRows(), 1u);
    using State = SessionHealth::State;
    std::lock_guard lock(listener.mutex);
    EXPECT_EQ(listener.states,
              (std::vector<State>{State::Receiving, State::WaitingForModem, State::Receiving}));
}

TEST_F(SessionCatchUpEndToEnd, ASimNearlyFullIsAWarningAndWhatWaitsInItIsStored) {
    modem = PtySimulator::modem(10);
    modem->withModem([](ModemSimulator& m) {
        for (int draft = 0; draft < 7; ++draft) {
            m.storeSms("0912345678", "?0,1!", MessageStatus::StoredUnsent);
        }
    });
    SmsSessionWorker::Settings settings{modem->devicePath() + ":", file.path()};
    settings.healthInterval = 1s;
    SessionThread session(settings, users, listener);
    const std::string receiving = "Receiving | Signal 4/4 -73 dBm | SIM ";
    ASSERT_TRUE(session.waitFor(
        [&] { return std::ranges::count(listener.healthTexts, receiving + "7/10") > 0; }));
    // Its announcement was missed: only the listing a nearly full SIM calls for finds it.
    modem->withModem(
        [](ModemSimulator& m) { m.storeSms(ModemSimulator::DefaultSender, ReportAt(1)); });

    ASSERT_TRUE(session.waitFor([&] { return listener.stored.size() == 1; }));
    EXPECT_EQ(modemMessages().size(), 7u);
    std::lock_guard lock(listener.mutex);
    EXPECT_NE(listener.log.find("The SIM storage is nearly full (8/10)"), std::string::npos);
    EXPECT_THAT(listener.healthTexts, ::testing::Contains(receiving + "8/10 nearly full!"));
}

}  // namespace
}  // namespace kv820
