// Faults of the modem, the line and the database during an SMS session, and modems as they
// are in the field, against the simulated modem in-process on a virtual clock: whatever
// happens, no report is lost, none is stored twice, and an SMS is deleted only once its
// report is stored. Each test is a script of steps: the session runs until a step's
// condition holds (looked at on every use of the line), the step acts, and the session
// stops after the last step.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/alarms/alarm_store.h"
#include "core/alarms/forward_store.h"
#include "core/commands/command_queue.h"
#include "core/commands/send_command_sms.h"
#include "core/reception/sms_session_worker.h"
#include "core/store/database.h"
#include "core/store/statement.h"
#include "core/store/user_store.h"
#include "sim/text_mode_format.h"
#include "support/minute_reports.h"
#include "support/session_rig.h"
#include "support/simulated_modem_link.h"
#include "support/store_engines.h"
#include "support/temp_database_file.h"

namespace kv820 {
namespace {

using namespace std::chrono_literals;
using sim::ModemSimulator;
using test::momentsOfMinutes;
using test::TrackerImei;

constexpr const char* Phone = "0912345678";
// A step that does not come within this much virtual time ends the session and fails.
constexpr std::chrono::milliseconds StepLimit = 5min;

class SessionFaults : public ::testing::Test {
  protected:
    SessionFaults() {
        users.replace({{"Truck", Phone, TrackerImei}});
        link.onActivity = [this] { nextStep(); };
        clock.onSleep = [this] {
            pausing_ = true;
            nextStep();
            pausing_ = false;
        };
    }

    void step(
        std::function<bool()> done, std::function<void()> action = [] {}) {
        steps_.push_back({std::move(done), std::move(action)});
    }
    void run() {
        SmsSessionWorker::Settings settings{"ttyUSB0:", location};
        settings.webhook = webhook;
        settings.registryToRefresh = registryToRefresh;
        SmsSessionWorker worker(link, clock, users, listener, settings);
        worker_ = &worker;
        stepStarted_ = clock.now();
        worker.run();
        worker_ = nullptr;
        EXPECT_TRUE(steps_.empty()) << steps_.size() << " steps never came\n" << listener.log;
        steps_.clear();
    }
    SmsSessionWorker& worker() { return *worker_; }

    bool started() const { return !listener.started.empty(); }
    // The session pauses (between two lines, two attempts): a step acts within the pause.
    bool pausing() const { return pausing_; }
    // The start's listing and the first storage poll are over: what comes now is announced.
    bool listening() const {
        return !listener.healthTexts.empty() &&
               listener.healthTexts.back().find("SIM 0/") != std::string::npos;
    }
    std::size_t stored() const { return listener.stored.size(); }
    bool logHas(std::string_view text) const {
        return listener.log.find(text) != std::string::npos;
    }
    ModemSimulator& modem() { return link.modem; }
    int inject(int minute) {
        return *modem().injectReport(test::reportOfMinute(TrackerImei, minute));
    }
    // A report that arrived unannounced (while no session listened).
    void store(int minute) {
        modem().storeSms(ModemSimulator::DefaultSender,
                         sim::formatReportBody(test::reportOfMinute(TrackerImei, minute)));
    }
    std::vector<int> indexesInModem() const {
        std::vector<int> indexes;
        for (const auto& message : link.modem.storage().list()) {
            indexes.push_back(message.index);
        }
        return indexes;
    }
    bool modemEmpty() const { return link.modem.storedCount() == 0; }
    std::vector<std::string> storedSorted() const {
        auto moments = test::storedMoments(location);
        std::ranges::sort(moments);
        return moments;
    }
    // Sends `text` to the truck as the window does, on the session's thread.
    void sendCommand(const std::string& text) {
        worker().post([text, this](ComPort& port, MessageMode mode) {
            SendCommandSms(
                port, mode, [this](std::string_view line) { listener.modemLog(line); }, Phone,
                text);
        });
    }

    test::TempDatabaseFile file;
    std::string location = file.path();  // the store the session uses
    test::VirtualClock clock;
    test::SimulatedModemLink link{clock, 128};
    UserRegistry users;
    test::RecordingListener listener;
    WebhookPoster* webhook = nullptr;
    UserRegistry* registryToRefresh = nullptr;  // set: the session plays a headless receiver
    const std::string command = std::string("?0,") + TrackerImei + ",0!";

  private:
    struct Step {
        std::function<bool()> done;
        std::function<void()> action;
    };
    void nextStep() {
        while (worker_ && !steps_.empty() && steps_.front().done()) {
            const auto action = std::move(steps_.front().action);
            steps_.pop_front();
            stepStarted_ = clock.now();
            action();
        }
        if (worker_ && (steps_.empty() || clock.now() - stepStarted_ > StepLimit)) {
            worker_->requestStop();
        }
    }

    SmsSessionWorker* worker_ = nullptr;
    bool pausing_ = false;
    std::deque<Step> steps_;
    std::chrono::milliseconds stepStarted_{0};
};

// Another program holding the write lock, a full disk: the kept report is tried again by
// the storage poll once the database takes rows again, as no unannounced stranger.
TEST_F(SessionFaults, AReportTheDatabaseRefusesStaysInTheModemAndIsStoredOnceItTakesRows) {
    Database other(file.path());
    other.execute(
        "CREATE TRIGGER refuse BEFORE INSERT ON gpslog BEGIN SELECT RAISE(ABORT, 'locked'); END");
    int refused = 0;
    step([&] { return listening(); }, [&] { refused = inject(0); });
    step([&] { return !listener.storeFailures.empty(); },
         [&] {
             EXPECT_EQ(indexesInModem(), std::vector<int>{refused});
             EXPECT_TRUE(test::storedMoments(file.path()).empty());
             other.execute("DROP TRIGGER refuse");
             inject(1);
         });
    step([&] { return stored() == 2 && modemEmpty(); });
    run();

    EXPECT_EQ(storedSorted(), momentsOfMinutes(2));
    EXPECT_FALSE(logHas("without an announcement")) << "the kept report was announced";
}

// A report and the events it raises are stored together or not at all: an event the
// database refuses keeps the report in the modem, and once stored it is raised only once.
TEST_F(SessionFaults, AReportAndItsEventsAreStoredTogetherAndRaisedOnce) {
    Database other(file.path());
    AlarmStore::ensureTables(other);
    AlarmStore(other).saveGeofence(test::depotOfMinuteReports());
    other.execute(
        "CREATE TRIGGER refuse BEFORE INSERT ON events BEGIN SELECT RAISE(ABORT, 'full'); END");
    step([&] { return listening(); }, [&] { inject(0); });
    step([&] { return !listener.storeFailures.empty(); },
         [&] {
             EXPECT_TRUE(test::storedMoments(file.path()).empty()) << "row kept without events";
             other.execute("DROP TRIGGER refuse");
         });
    step([&] { return stored() == 1 && modemEmpty(); });
    run();

    ASSERT_EQ(listener.stored.size(), 1u);
    ASSERT_EQ(listener.stored[0].events.size(), 1u);
    EXPECT_EQ(listener.stored[0].events[0].kind, EventKind::GeofenceEnter);
    EXPECT_EQ(AlarmStore(other).newestEvents({}, 10).size(), 1u);
    EXPECT_EQ(test::storedMoments(file.path()), momentsOfMinutes(1));
}

// Where the reply to "at+cmgr=" is cut: in its header, or inside the report before its end
// mark. Either way nothing of it is stored, the SMS stays, and the next start stores it once.
class CutReply : public SessionFaults, public ::testing::WithParamInterface<const char*> {};

INSTANTIATE_TEST_SUITE_P(Cuts, CutReply, ::testing::Values("+CMGR:", "?35"));

TEST_P(CutReply, NothingOfItIsStoredAndTheReportIsTakenAtTheNextStart) {
    int index = 0;
    step([&] { return started(); },
         [&] {
             index = inject(0);
             const std::string reply = "at+cmgr=" + std::to_string(index) + "\r" +
                                       sim::readResponse(*modem().storage().find(index));
             modem().faults().cutNext(reply.find(GetParam()) + 10, "at+cmgr=");
         });
    step([&] { return logHas("SMS " + std::to_string(index) + " was not read completely"); });
    run();
    EXPECT_TRUE(test::storedMoments(file.path()).empty());
    EXPECT_EQ(indexesInModem(), std::vector<int>{index});

    step([&] { return modemEmpty(); });
    run();
    EXPECT_EQ(test::storedMoments(file.path()), momentsOfMinutes(1));
}

// A modem slower than one read's time-out on its SIM commands ("at+cmgr=", "at+cmgd=",
// "at+cmgl"): every reply must be read as its own command's, whether the reports arrive in
// a burst, wait in the modem at the start, or a command SMS is sent during the burst.
struct SlowModem {
    const char* name;
    const char* replyDelay;  // as `kv820-sim modem --reply-delay` takes it
    bool waitingAtStart;
    bool commandDuringBurst;
};

class SlowModemSession : public SessionFaults, public ::testing::WithParamInterface<SlowModem> {};

INSTANTIATE_TEST_SUITE_P(
    Delays, SlowModemSession,
    ::testing::Values(SlowModem{"burst", "cmgr,cmgd,cmgl=0-1200", false, false},
                      SlowModem{"catch_up", "cmgr,cmgd,cmgl=1500", true, false},
                      SlowModem{"command_during_burst", "cmgr,cmgd,cmgl=550", false, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(SlowModemSession, EveryReportIsStoredOnceAndNoneIsDeletedUnread) {
    constexpr int Reports = 6;
    link.replies.addRule(*sim::replyDelayRuleFromWord(GetParam().replyDelay));
    link.replies.setSeed(12);
    const auto reports = test::reportsOfMinutes(TrackerImei, Reports);
    for (int n = 0; GetParam().waitingAtStart && n < Reports; ++n) {
        store(n);
    }
    step([&] { return started(); },
         [&] {
             if (!GetParam().waitingAtStart) {
                 modem().injectBurst(reports);
             }
         });
    if (GetParam().commandDuringBurst) {
        step([&] { return stored() >= 1; }, [&] { sendCommand(command); });
        step([&] { return !modem().sentMessages().empty(); });
    }
    step([&] { return stored() >= Reports && modemEmpty(); });
    run();

    EXPECT_EQ(storedSorted(), momentsOfMinutes(Reports));
    if (GetParam().commandDuringBurst) {
        EXPECT_EQ(modem().sentMessages(), (std::vector<sim::SentSms>{{Phone, command}}));
    }
}

#ifdef KV820_WITH_POSTGRES
// A shared database whose connection drops in the middle of a burst (the server restarted,
// the network cut): the reports that meet no database stay in the modem, the receiver
// connects anew after a pause, and the storage poll brings in what waited. Nothing is lost,
// nothing doubled.
TEST_F(SessionFaults, AReceiverWhoseDatabaseConnectionDropsKeepsTheSmsAndCatchesUp) {
    constexpr int Burst = 12;
    const test::TempStore shared(test::Engine::Postgres);
    location = shared.location();
    step([&] { return listening(); },
         [&] { modem().injectBurst(test::reportsOfMinutes(TrackerImei, Burst)); });
    step([&] { return stored() == 4; },
         [&] { test::PostgresServer::shared().dropConnections(location); });
    step([&] { return !listener.storeFailures.empty(); },
         [&] { EXPECT_FALSE(modemEmpty()) << "an SMS was deleted without its report"; });
    step([&] { return logHas(SmsSessionWorker::DatabaseBackText) && modemEmpty(); });
    run();

    EXPECT_EQ(storedSorted(), momentsOfMinutes(Burst));
    EXPECT_TRUE(logHas(SmsSessionWorker::DatabaseLostText));
}

// Commands a desk queued on the shared database, one before the receiver started and one
// while it listens: the receiver sends each through its modem and writes the outcome with
// the log of the send, which the desk shows.
TEST_F(SessionFaults, AReceiverSendsTheCommandsADeskQueued) {
    const test::TempStore shared(test::Engine::Postgres);
    location = shared.location();
    Database desk(location);
    CommandQueue::ensureTable(desk);
    CommandQueue queue(desk);
    const std::int64_t first = queue.enqueue(Phone, command, "2026/12/08 10:00:00");
    std::int64_t second = 0;
    const auto sent = [&](std::int64_t id) {
        const auto result = queue.result(id);
        return result && result->state == QueuedCommandResult::State::Sent;
    };
    step([&] { return listening() && sent(first); },
         [&] { second = queue.enqueue(Phone, "?1," + std::string(TrackerImei) + ",1!", ""); });
    step([&] { return sent(second); });
    run();

    ASSERT_EQ(modem().sentMessages().size(), 2u);
    EXPECT_EQ(modem().sentMessages()[0], (sim::SentSms{Phone, command}));
    EXPECT_NE(queue.result(first)->log.find("at+cmgs="), std::string::npos);
    EXPECT_NE(queue.result(first)->log.find(command), std::string::npos);
}
#endif

// A tracker registered at a desk while a receiver without a window runs, on a file the
// two share or on a shared server: its next report is stored as that tracker's.
class UserRegisteredMeanwhile : public SessionFaults,
                                public ::testing::WithParamInterface<test::Engine> {};

KV820_ON_EVERY_ENGINE(UserRegisteredMeanwhile);

TEST_P(UserRegisteredMeanwhile, TheReceiverKnowsTheTrackerByItsNextReport) {
    const test::TempStore store(GetParam());
    location = store.location();
    users.replace({});
    registryToRefresh = &users;
    step([&] { return listening(); },
         [&] {
             Database desk(location);
             UserStore(desk).addOrUpdate({"Truck", Phone, TrackerImei});
             inject(0);
         });
    step([&] { return stored() == 1; });
    run();

    ASSERT_EQ(listener.stored.size(), 1u);
    EXPECT_EQ(listener.stored[0].report.userName, "Truck");
    Database db(location);
    Statement imei(db, "SELECT imei FROM gpslog");
    ASSERT_TRUE(imei.step());
    EXPECT_EQ(imei.text(0), TrackerImei);
}

TEST_F(SessionFaults, ABurstIsStoredWholeInOrder) {
    constexpr int Burst = 30;
    step([&] { return started(); },
         [&] { modem().injectBurst(test::reportsOfMinutes(TrackerImei, Burst)); });
    step([&] { return stored() == Burst && modemEmpty(); });
    run();

    EXPECT_EQ(test::storedMoments(file.path()), momentsOfMinutes(Burst));
}

// Pulled out in the middle of a burst, as a stored report's SMS is about to be deleted, and
// plugged in again after three attempts, 1 s, 2 s and 4 s apart: what arrived meanwhile is
// caught up, and nothing is lost or stored twice.
TEST_F(SessionFaults, AModemPluggedInAgainIsTakenBackAndNothingIsLostOrDoubled) {
    constexpr int Burst = 10;
    link.replies.addRule({{"cmgr"}, 200ms, 200ms});
    int deletes = 0;
    std::chrono::milliseconds vanishedAt{0}, backAt{0};
    step([&] { return started(); },
         [&] { modem().injectBurst(test::reportsOfMinutes(TrackerImei, Burst)); });
    step([&] { return link.writing.starts_with("at+cmgd=") && ++deletes == 2; },
         [&] {
             link.vanish();
             vanishedAt = clock.now();
             inject(Burst);
         });
    step([&] { return logHas("(attempt 3)"); },
         [&] {
             link.reappear();
             backAt = clock.now();
         });
    step([&] { return logHas(SmsSessionWorker::ModemBackText) && modemEmpty(); });
    run();

    EXPECT_EQ(storedSorted(), momentsOfMinutes(Burst + 1)) << "each report stored once";
    EXPECT_FALSE(logHas("without an announcement")) << "no catch-up when the modem came back";
    EXPECT_GE(backAt - vanishedAt, 7s);
    using State = SessionHealth::State;
    EXPECT_EQ(listener.states, (std::vector<State>{State::Receiving, State::WaitingForModem,
                                                   State::Receiving, State::Idle}));
}

// "Close SMS" while the session waits for a vanished modem ends the waiting at once.
TEST_F(SessionFaults, AStopWhileWaitingForTheModemEndsTheWaitingAtOnce) {
    std::chrono::milliseconds stoppedAt{0};
    step([&] { return started(); }, [&] { link.vanish(); });
    // The first attempt failed: the next one waits 2 s.
    step([&] { return logHas("(attempt 1)"); });
    step([&] { return pausing(); }, [&] { stoppedAt = clock.now(); });
    run();

    EXPECT_LE(clock.now() - stoppedAt, 100ms);
}

TEST_F(SessionFaults, AHungModemIsNoticedAndWhatArrivedMeanwhileIsStoredOnceBack) {
    step([&] { return started(); },
         [&] {
             modem().faults().setHung(true);  // its port stays open, it says nothing at all
             inject(0);
         });
    step([&] { return logHas(SmsSessionWorker::ModemLostText); },
         [&] { modem().faults().setHung(false); });
    step([&] { return logHas(SmsSessionWorker::ModemBackText) && modemEmpty(); });
    run();

    EXPECT_EQ(test::storedMoments(file.path()), momentsOfMinutes(1));
    using State = SessionHealth::State;
    EXPECT_EQ(listener.states, (std::vector<State>{State::Receiving, State::WaitingForModem,
                                                   State::Receiving, State::Idle}));
}

TEST_F(SessionFaults, ASimNearlyFullIsAWarningAndWhatWaitsInItIsStored) {
    modem() = ModemSimulator(10);
    for (int draft = 0; draft < 7; ++draft) {
        modem().storeSms(Phone, "?0,1!", sim::MessageStatus::StoredUnsent);
    }
    const std::string receiving = "Receiving | Signal 4/4 -73 dBm | SIM ";
    const auto shown = [&](const std::string& text) {
        return std::ranges::count(listener.healthTexts, receiving + text) > 0;
    };
    // Its announcement was missed: only the listing a nearly full SIM calls for finds it.
    step([&] { return shown("7/10"); }, [&] { store(0); });
    step([&] { return stored() == 1; });
    run();

    EXPECT_EQ(indexesInModem().size(), 7u);
    EXPECT_TRUE(shown("8/10 nearly full!"));
}

// Modems as they are in the field: messages kept in the modem's own memory, text mode
// refused, a send refused for a moment. Every report is stored, none is left, and the
// command SMS reaches the tracker as text mode would send it.
struct Habit {
    const char* name;
    std::function<void(sim::ModemHabits&)> set;
    const char* logged;
};

class ModemHabit : public SessionFaults, public ::testing::WithParamInterface<Habit> {};

INSTANTIATE_TEST_SUITE_P(
    Habits, ModemHabit,
    ::testing::Values(
        Habit{"phone_memory", [](auto& h) { h.receiveInPhoneMemory = true; }, "+CMTI: \"ME\","},
        Habit{"pdu_only", [](auto& h) { h.pduOnly = true; }, "Messages are read in PDU mode"},
        Habit{"send_refused", [](auto& h) { h.refuseNextSend = 512; },
              "+CMS ERROR: 512: the SMS is sent again in a moment."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(ModemHabit, EveryReportIsStoredNoneIsLeftAndTheCommandGoesOut) {
    GetParam().set(modem().habits());
    store(0);
    step([&] { return started(); },
         [&] {
             inject(1);
             sendCommand(command);
         });
    step([&] { return stored() == 2 && modemEmpty() && !modem().sentMessages().empty(); });
    run();

    EXPECT_EQ(storedSorted(), momentsOfMinutes(2));
    EXPECT_EQ(modem().sentMessages(), (std::vector<sim::SentSms>{{Phone, command}}));
    EXPECT_TRUE(logHas(GetParam().logged)) << listener.log;
    EXPECT_FALSE(logHas("The SMS was not sent."));
}

// An SOS forwarded to a duty phone goes out through the session's own modem, in the mode
// the modem reads messages in, after the report is stored; the log says so.
class ForwardedBySms : public SessionFaults, public ::testing::WithParamInterface<bool> {};

INSTANTIATE_TEST_SUITE_P(Modes, ForwardedBySms, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "pdu" : "text"; });

TEST_P(ForwardedBySms, AnSosGoesToTheDutyPhoneAsItsShortText) {
    modem().habits().pduOnly = GetParam();
    Database other(file.path());
    ForwardStore(other).saveSettings({{"+491701234567"}, "", {EventKind::Sos}});
    step([&] { return listening(); },
         [&] {
             sim::TrackerReport sos = test::reportOfMinute(TrackerImei, 0);
             sos.kind = std::to_string(SosReportCode);
             modem().injectReport(sos);
         });
    step([&] { return !modem().sentMessages().empty() && logHas("Forwarded event"); });
    run();

    EXPECT_EQ(stored(), 1u);
    const std::string text =
        "Truck: SOS, SOS report, 2012/05/12 00:00:00 "
        "https://maps.google.com/maps?q=25.052057+121.502057&h=en&t=h";
    ASSERT_EQ(modem().sentMessages().size(), 1u);
    EXPECT_EQ(modem().sentMessages()[0].destination, "+491701234567");
    EXPECT_EQ(modem().sentMessages()[0].text, text);
    const std::vector<LoggedForward> log = ForwardStore(other).newest(10);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].forward.state, ForwardState::Sent);
    EXPECT_EQ(log[0].forward.attempts, 1);
    EXPECT_EQ(log[0].kind, "SOS");
}

// A webhook that keeps failing: tried again after 10 s, 60 s and 300 s, then given up and
// shown as failed; reception goes on meanwhile, and a forward the last run left waiting
// goes out at the start.
TEST_F(SessionFaults, AFailingWebhookIsRetriedThenGivenUpWhileReportsAreStillStored) {
    struct FailingWebhook final : WebhookPoster {
        void post(const std::string& url, const std::string& body, Done done) override {
            calls.emplace_back(clock.now(), url + " " + body);
            done("HTTP 503");
        }
        test::VirtualClock& clock;
        std::vector<std::pair<std::chrono::milliseconds, std::string>> calls;
        explicit FailingWebhook(test::VirtualClock& c) : clock(c) {}
    } failing(clock);
    webhook = &failing;
    Database other(file.path());
    ForwardStore(other).saveSettings({{}, "http://127.0.0.1:9/hook", {EventKind::Overdue}});
    ForwardStore(other).queue({.eventId = 41,
                               .channel = ForwardChannel::Webhook,
                               .destination = "http://127.0.0.1:9/hook",
                               .payload = "{}"});
    step([&] { return failing.calls.size() == 3; }, [&] { inject(0); });
    step([&] { return stored() == 1 && clock.now() - failing.calls.back().first > 200s; });
    step([&] {
        return !ForwardStore(other).newest(1).empty() &&
               ForwardStore(other).newest(1)[0].forward.state == ForwardState::Failed;
    });
    run();

    std::vector<std::chrono::milliseconds> gaps;
    for (std::size_t i = 1; i < failing.calls.size(); ++i) {
        gaps.push_back(std::chrono::duration_cast<std::chrono::seconds>(
            failing.calls[i].first - failing.calls[i - 1].first));
    }
    EXPECT_EQ(gaps, (std::vector<std::chrono::milliseconds>{10s, 60s, 300s}));
    EXPECT_EQ(failing.calls[0].second, "http://127.0.0.1:9/hook {}");
    EXPECT_TRUE(
        logHas("Forwarding event 41 by webhook to http://127.0.0.1:9/hook failed "
               "(HTTP 503) after 4 attempts; it is given up."))
        << listener.log;
}

}  // namespace
}  // namespace kv820
