// A modem slower than one read's time-out: its SIM commands ("at+cmgr=", "at+cmgd=",
// "at+cmgl") answer 0.55 s to 1.5 s late. Over the real serial link, a burst of reports,
// the reports waiting in the modem at the start, and a command SMS sent during a burst
// each come through whole: every report stored exactly once, none deleted unread, none
// left in the modem.
#include <gtest/gtest.h>
#include <QTest>

#include <QComboBox>
#include <QSignalSpy>
#include <algorithm>
#include <chrono>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "app/modem/sms_command_page.h"
#include "app/modem/sms_session.h"
#include "core/store/schema.h"
#include "core/store/user_registry.h"
#include "e2e/e2e_database.h"
#include "e2e/minute_reports.h"
#include "sim/pty_simulator.h"
#include "sim/text_mode_format.h"
#include "support/qt/alert_recorder.h"
#include "support/temp_dir.h"

namespace kv820 {
namespace {

using namespace std::chrono_literals;
using sim::ModemSimulator;
using test::RegisteredImei;
using test::RegisteredPhone;

constexpr int Reports = 6;
// Long enough for six reads and deletes at 1.5 s each, with room to spare.
constexpr std::chrono::seconds SettleLimit{40};
const std::string CommandText = std::string("?0,") + RegisteredImei + ",0!";

enum class Scenario {
    Burst,               // the reports arrive at once during the session
    CatchUp,             // the reports wait in the modem when the session starts
    CommandDuringBurst,  // a command SMS is sent while a burst is being read
};

struct SlowModemCase {
    const char* name;
    const char* replyDelay;  // as `kv820-sim modem --reply-delay` takes it
    Scenario scenario;
};

void PrintTo(const SlowModemCase& slow, std::ostream* out) {
    *out << slow.name;
}

// What became of the reports: stored (once or more), deleted without a row, still in the modem.
struct Outcome {
    int stored = 0;
    int duplicates = 0;
    int lost = 0;
    int left = 0;
    bool operator==(const Outcome&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Outcome& o) {
    return out << "stored " << o.stored << " of " << Reports << ", duplicates " << o.duplicates
               << ", lost " << o.lost << ", left " << o.left;
}

// The SMS session of the "SMS Command" page on a slow simulated modem, its pauses cut
// short as in the other end-to-end tests.
class SlowModemEndToEnd : public ::testing::TestWithParam<SlowModemCase> {
  protected:
    SlowModemEndToEnd() : modem(sim::PtySimulator::modem()) {
        test::CreateDatabaseWithTruck(path);
        users.replace({{"truck", RegisteredPhone, RegisteredImei}});
        modem->addReplyDelay(*sim::ReplyDelayRuleFromWord(GetParam().replyDelay));
        modem->setReplySeed(12);
        page.comPortCombo()->clear();
        page.comPortCombo()->addItem(QString::fromStdString(modem->devicePath() + ":"));
        session.setSleepScale(0.02);
    }

    void openSession() {
        session.toggle();
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return session.state() == SmsSession::State::Open; }, 30000));
    }

    std::vector<int> injectBurst() {
        return modem->withModem([](ModemSimulator& m) {
            return m.injectBurst(test::ReportsOfMinutes(RegisteredImei, Reports));
        });
    }

    std::vector<std::string> bodiesInModem() {
        return modem->withModem([](ModemSimulator& m) {
            std::vector<std::string> bodies;
            for (const auto& message : m.storage().list()) {
                bodies.push_back(message.body);
            }
            return bodies;
        });
    }

    // Waits until every report is stored and gone from the modem, or the limit passed.
    Outcome settle() {
        QTest::qWaitFor(
            [&] { return test::StoredMoments(path).size() >= Reports && bodiesInModem().empty(); },
            static_cast<int>(std::chrono::milliseconds(SettleLimit).count()));
        return outcome();
    }

    Outcome outcome() {
        const std::vector<std::string> rows = test::StoredMoments(path);
        const std::set<std::string> distinct(rows.begin(), rows.end());
        const std::vector<std::string> moments = test::MomentsOfMinutes(Reports);
        const std::vector<std::string> inModem = bodiesInModem();
        Outcome o;
        o.duplicates = static_cast<int>(rows.size() - distinct.size());
        for (int n = 0; n < Reports; ++n) {
            const bool stored = distinct.count(moments[n]) != 0;
            const bool left =
                std::count(inModem.begin(), inModem.end(),
                           sim::formatReportBody(test::ReportOfMinute(RegisteredImei, n))) != 0;
            o.stored += stored;
            o.left += left;
            o.lost += !stored && !left;
        }
        return o;
    }

    test::TempDir dir;
    std::string path = dir.file(DatabaseFileName);
    std::unique_ptr<sim::PtySimulator> modem;
    UserRegistry users;
    test::AlertRecorder recorder;
    SmsCommandPage page;
    SmsSession session{page, users, path};
};

// A modem slower than 500 ms per SIM command: every reply must be read as its own command's.
TEST_P(SlowModemEndToEnd, EveryReportIsStoredOnceAndNoneIsDeletedUnread) {
    const Outcome whole{Reports, 0, 0, 0};
    if (GetParam().scenario == Scenario::CatchUp) {
        modem->withModem([](ModemSimulator& m) {
            for (const auto& report : test::ReportsOfMinutes(RegisteredImei, Reports)) {
                m.storeSms(ModemSimulator::DefaultSender, sim::formatReportBody(report));
            }
        });
    }
    ASSERT_NO_FATAL_FAILURE(openSession());
    if (GetParam().scenario != Scenario::CatchUp) {
        ASSERT_EQ(injectBurst().size(), static_cast<std::size_t>(Reports));
    }
    if (GetParam().scenario == Scenario::CommandDuringBurst) {
        QSignalSpy sent(&session, &CommandChannel::commandSent);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !test::StoredMoments(path).empty(); }, 30000));
        ASSERT_TRUE(session.sendCommand(QString::fromLatin1(RegisteredPhone),
                                        QString::fromStdString(CommandText)));
        ASSERT_TRUE(QTest::qWaitFor([&] { return sent.size() == 1; }, 30000));
    }

    EXPECT_EQ(settle(), whole);

    if (GetParam().scenario == Scenario::CommandDuringBurst) {
        const auto sentSms = modem->withModem([](ModemSimulator& m) { return m.sentMessages(); });
        EXPECT_EQ(sentSms, (std::vector<sim::SentSms>{{RegisteredPhone, CommandText}}));
    }
    EXPECT_TRUE(recorder.texts().isEmpty()) << recorder.texts().join('|').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Delays, SlowModemEndToEnd,
    ::testing::Values(SlowModemCase{"burst_550ms", "cmgr,cmgd,cmgl=550", Scenario::Burst},
                      SlowModemCase{"burst_1500ms", "cmgr,cmgd,cmgl=1500", Scenario::Burst},
                      SlowModemCase{"burst_random_0_to_1200ms", "cmgr,cmgd,cmgl=0-1200",
                                    Scenario::Burst},
                      SlowModemCase{"catch_up_550ms", "cmgr,cmgd,cmgl=550", Scenario::CatchUp},
                      SlowModemCase{"command_during_burst_550ms", "cmgr,cmgd,cmgl=550",
                                    Scenario::CommandDuringBurst}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kv820
