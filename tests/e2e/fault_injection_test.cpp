// Faults of the modem line, the modem and the database during an SMS session over the real
// serial link: whatever happens, no report is lost and none is stored twice.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "core/commands/send_command_sms.h"
#include "core/reception/sms_session_worker.h"
#include "core/store/database.h"
#include "e2e/e2e_database.h"
#include "e2e/session_end_to_end.h"
#include "sim/pty_simulator.h"
#include "sim/reply_schedule.h"
#include "sim/text_mode_format.h"
#include "support/temp_dir.h"

namespace kv820 {
namespace {

using namespace std::chrono_literals;
using sim::ModemSimulator;
using sim::PtySimulator;
using test::MomentsOfMinutes;
using test::ReportOfMinute;
using test::SessionEndToEnd;
using test::SessionThread;
using test::StoredMoments;

// The kept report is tried again by the storage poll once the lock is gone.
TEST_F(SessionEndToEnd, ADatabaseLockedByAnotherWriterKeepsTheSmsAndReceptionGoesOn) {
    SmsSessionWorker::Settings often = settings();
    often.storagePoll = 1s;
    auto session = startSession(often);
    // Another program takes the write lock: the worker's busy time-out runs out.
    auto competitor = std::make_unique<Database>(path);
    competitor->execute("BEGIN EXCLUSIVE");
    const int locked = inject(0);
    ASSERT_TRUE(session->waitFor([&] { return !listener.storeFailures.empty(); }, 30s));
    EXPECT_EQ(indexesInModem(), std::vector<int>{locked});
    EXPECT_TRUE(StoredMoments(path).empty());

    competitor->execute("ROLLBACK");
    competitor.reset();
    inject(1);
    ASSERT_TRUE(session->waitFor([&] { return storedEvents() == 2 && indexesInModem().empty(); }));
    auto stored = StoredMoments(path);
    std::ranges::sort(stored);
    EXPECT_EQ(stored, MomentsOfMinutes(2));
    EXPECT_FALSE(logHas("without an announcement")) << "the kept report was announced";
}

// Where the reply to "at+cmgr=" is cut: in its header, or inside the report before its end
// mark. Either way nothing of it is stored, the SMS stays, and the next start stores it once.
class CutReplyEndToEnd : public SessionEndToEnd,
                         public ::testing::WithParamInterface<const char*> {};

TEST_P(CutReplyEndToEnd, NothingOfACutReplyIsStoredAndTheReportIsTakenAtTheNextStart) {
    auto session = startSession();
    const int index = modem->withModem([&](ModemSimulator& m) {
        // The announcement leaves when the lock does, after the cut is in place.
        const int stored = *m.injectReport(ReportOfMinute(0));
        const std::string reply = "at+cmgr=" + std::to_string(stored) + "\r" +
                                  sim::readResponse(*m.storage().find(stored));
        // Ten bytes past the cut's mark, in this read's reply whatever the session asks first.
        m.faults().cutNext(reply.find(GetParam()) + 10, "at+cmgr=");
        return stored;
    });
    const std::string kept = "SMS " + std::to_string(index) + " was not read completely";
    ASSERT_TRUE(session->waitFor([&] { return logHas(kept); })) << listener.log;
    EXPECT_TRUE(StoredMoments(path).empty());

    session.reset();
    session = startSession();
    ASSERT_TRUE(session->waitFor([&] { return indexesInModem().empty(); }));
    EXPECT_EQ(StoredMoments(path), MomentsOfMinutes(1));
}

INSTANTIATE_TEST_SUITE_P(Cuts, CutReplyEndToEnd, ::testing::Values("+CMGR:", "?35"));

// A modem slower than one read's time-out on its SIM commands ("at+cmgr=", "at+cmgd=",
// "at+cmgl"): every reply must be read as its own command's, whether the reports arrive in
// a burst, wait in the modem at the start, or a command SMS is sent during the burst.
struct SlowModem {
    const char* name;
    const char* replyDelay;  // as `kv820-sim modem --reply-delay` takes it
    bool waitingAtStart;
    bool commandDuringBurst;
};

class SlowModemEndToEnd : public SessionEndToEnd,
                          public ::testing::WithParamInterface<SlowModem> {};

TEST_P(SlowModemEndToEnd, EveryReportIsStoredOnceAndNoneIsDeletedUnread) {
    constexpr int Reports = 6;
    const std::string command = "?0," + test::Truck.imei + ",0!";
    modem->addReplyDelay(*sim::ReplyDelayRuleFromWord(GetParam().replyDelay));
    modem->setReplySeed(12);
    const auto reports = test::ReportsOfMinutes(Reports);
    if (GetParam().waitingAtStart) {
        modem->withModem([&](ModemSimulator& m) {
            for (const auto& report : reports) {
                m.storeSms(ModemSimulator::DefaultSender, sim::formatReportBody(report));
            }
        });
    }
    auto session = startSession();
    if (!GetParam().waitingAtStart) {
        modem->withModem([&](ModemSimulator& m) { m.injectBurst(reports); });
    }
    if (GetParam().commandDuringBurst) {
        ASSERT_TRUE(session->waitFor([&] { return storedEvents() >= 1; }));
        session->worker().post([&](ComPort& port, MessageMode mode) {
            SendCommandSms(
                port, mode, [](std::string_view) {}, test::Truck.phone, command);
        });
        ASSERT_TRUE(session->waitFor(
            [&] {
                return modem->withModem([](ModemSimulator& m) { return m.sentMessages(); }) ==
                       std::vector<sim::SentSms>{{test::Truck.phone, command}};
            },
            40s));
    }
    ASSERT_TRUE(session->waitFor(
        [&] { return storedEvents() >= Reports && indexesInModem().empty(); }, 40s))
        << storedEvents();
    auto stored = StoredMoments(path);
    std::ranges::sort(stored);
    EXPECT_EQ(stored, MomentsOfMinutes(Reports));
}

INSTANTIATE_TEST_SUITE_P(
    Delays, SlowModemEndToEnd,
    ::testing::Values(SlowModem{"burst", "cmgr,cmgd,cmgl=0-1200", false, false},
                      SlowModem{"catch_up", "cmgr,cmgd,cmgl=1500", true, false},
                      SlowModem{"command_during_burst", "cmgr,cmgd,cmgl=550", false, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SessionEndToEnd, ABurstIsStoredWholeInOrder) {
    constexpr int Burst = 30;
    auto session = startSession();
    modem->withModem([&](ModemSimulator& m) { m.injectBurst(test::ReportsOfMinutes(Burst)); });
    ASSERT_TRUE(session->waitFor([&] { return storedEvents() == Burst; }, 60s)) << storedEvents();
    ASSERT_TRUE(session->waitFor([&] { return indexesInModem().empty(); }));
    EXPECT_EQ(StoredMoments(path), MomentsOfMinutes(Burst));
}

TEST_F(SessionEndToEnd, AModemPluggedInAgainIsTakenBackAndNothingIsLostOrDoubled) {
    constexpr int Burst = 10;
    const std::string link = dir.file("kv820-modem");
    modem->setStablePath(link);
    modem->addReplyDelay({{"cmgr"}, 200ms, 200ms});  // the burst lasts a few seconds
    auto session = startSession({link + ":", path});
    modem->withModem([&](ModemSimulator& m) { m.injectBurst(test::ReportsOfMinutes(Burst)); });
    ASSERT_TRUE(session->waitFor([&] { return storedEvents() >= 2; }));

    modem->vanish();  // pulled out in the middle of the burst
    ASSERT_TRUE(session->waitFor([&] { return logHas("Trying to start the modem again"); }));
    modem->reappear();  // and plugged in again: a new terminal behind the same name

    ASSERT_TRUE(session->waitFor([&] { return logHas(SmsSessionWorker::ModemBackText); }));
    ASSERT_TRUE(session->waitFor([&] { return indexesInModem().empty(); }, 40s)) << listener.log;
    auto stored = StoredMoments(path);
    std::ranges::sort(stored);
    EXPECT_EQ(stored, MomentsOfMinutes(Burst)) << "each report stored once";
}

// "Close SMS" while the session waits for a vanished modem ends the waiting at once.
TEST_F(SessionEndToEnd, AStopWhileWaitingForTheModemEndsWithinASecond) {
    auto session = startSession();
    modem->vanish();
    ASSERT_TRUE(session->waitFor([&] { return logHas("Trying to start the modem again"); }));
    const auto stoppedAt = std::chrono::steady_clock::now();
    session.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - stoppedAt, 1s);
}

TEST_F(SessionEndToEnd, AHungModemIsNoticedAndWhatArrivedMeanwhileIsStoredOnceBack) {
    SmsSessionWorker::Settings quick = settings();
    quick.quietCheck = 1s;
    auto session = startSession(quick);
    modem->withModem([](ModemSimulator& m) {
        m.faults().setHung(true);  // its port stays open, it says nothing, not even "+CMTI"
        m.injectReport(ReportOfMinute(0));
    });
    ASSERT_TRUE(session->waitFor([&] { return logHas(SmsSessionWorker::ModemLostText); }));
    modem->withModem([](ModemSimulator& m) { m.faults().setHung(false); });

    ASSERT_TRUE(session->waitFor([&] { return indexesInModem().empty(); })) << listener.log;
    EXPECT_EQ(StoredMoments(path), MomentsOfMinutes(1));
    using State = SessionHealth::State;
    std::lock_guard lock(listener.mutex);
    EXPECT_EQ(listener.states,
              (std::vector<State>{State::Receiving, State::WaitingForModem, State::Receiving}));
}

TEST_F(SessionEndToEnd, ASimNearlyFullIsAWarningAndWhatWaitsInItIsStored) {
    modem = PtySimulator::modem(10);
    modem->withModem([](ModemSimulator& m) {
        for (int draft = 0; draft < 7; ++draft) {
            m.storeSms("0912345678", "?0,1!", sim::MessageStatus::StoredUnsent);
        }
    });
    SmsSessionWorker::Settings often = settings();
    often.storagePoll = 1s;
    auto session = startSession(often);
    const std::string receiving = "Receiving | Signal 4/4 -73 dBm | SIM ";
    ASSERT_TRUE(session->waitFor(
        [&] { return std::ranges::count(listener.healthTexts, receiving + "7/10") > 0; }));
    // Its announcement was missed: only the listing a nearly full SIM calls for finds it.
    modem->withModem([](ModemSimulator& m) {
        m.storeSms(ModemSimulator::DefaultSender, sim::formatReportBody(ReportOfMinute(0)));
    });

    ASSERT_TRUE(session->waitFor([&] { return storedEvents() == 1; }));
    EXPECT_EQ(indexesInModem().size(), 7u);
    std::lock_guard lock(listener.mutex);
    EXPECT_THAT(listener.healthTexts, ::testing::Contains(receiving + "8/10 nearly full!"));
}

}  // namespace
}  // namespace kv820
