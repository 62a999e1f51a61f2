// Modems as they are in the field, over the real serial link: messages kept in the modem's
// own memory, announcements lost on the way, text mode refused, a send refused for a moment.
// Every report is stored, and a command SMS reaches the tracker as text mode would send it.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "core/commands/send_command_sms.h"
#include "e2e/session_end_to_end.h"

namespace kv820 {
namespace {

using namespace std::chrono_literals;
using sim::ModemSimulator;
using test::MomentsOfMinutes;
using test::ReportOfMinute;
using test::StoredMoments;

class ModemHabitsEndToEnd : public test::SessionEndToEnd {
  protected:
    void setHabit(const std::function<void(sim::ModemHabits&)>& change) {
        modem->withModem([&](ModemSimulator& m) { change(m.habits()); });
    }
    void store(int minute) {
        modem->withModem([&](ModemSimulator& m) {
            m.storeSms(ModemSimulator::DefaultSender,
                       sim::formatReportBody(ReportOfMinute(minute)));
        });
    }
    std::vector<std::string> storedSorted() {
        std::vector<std::string> moments = StoredMoments(path);
        std::ranges::sort(moments);
        return moments;
    }
    // Sends `text` to the truck as the window does, on the session's thread.
    void sendCommand(const std::string& text) {
        worker().post([text, this](ComPort& port, MessageMode mode) {
            SendCommandSms(
                port, mode, [this](std::string_view line) { listener.modemLog(line); },
                test::Truck.phone, text);
        });
    }
    SmsSessionWorker& worker() { return session->worker(); }
    std::vector<sim::SentSms> sent() {
        return modem->withModem([](ModemSimulator& m) { return m.sentMessages(); });
    }

    std::unique_ptr<test::SessionThread> session;
    const std::string command = "?0," + test::Truck.imei + ",0!";
};

TEST_F(ModemHabitsEndToEnd, ReportsKeptInThePhoneMemoryAreAllStoredAndNoneIsLeft) {
    setHabit([](sim::ModemHabits& h) { h.receiveInPhoneMemory = true; });
    store(0);
    store(1);
    session = startSession();
    inject(2);
    inject(3);
    ASSERT_TRUE(session->waitFor([&] { return storedEvents() == 4 && messagesInModem() == 0; }))
        << listener.log;
    EXPECT_EQ(storedSorted(), MomentsOfMinutes(4));
    EXPECT_TRUE(logHas("+CMTI: \"ME\","));
}

// The default storage poll: a report whose announcement was lost is stored within 60 s.
TEST_F(ModemHabitsEndToEnd, ReportsWhoseAnnouncementsWereLostAreFoundByThePoll) {
    session = startSession();
    // The first poll is over (its count is shown) before the reports arrive.
    ASSERT_TRUE(session->waitFor([&] {
        return !listener.healthTexts.empty() &&
               listener.healthTexts.back().find("SIM 0/") != std::string::npos;
    }));
    setHabit([](sim::ModemHabits& h) { h.loseNext = 2; });
    const auto arrived = std::chrono::steady_clock::now();
    inject(0);
    inject(1);
    ASSERT_TRUE(session->waitFor([&] { return storedEvents() == 2; }, 60s)) << listener.log;
    EXPECT_LT(std::chrono::steady_clock::now() - arrived, 60s);
    EXPECT_EQ(storedSorted(), MomentsOfMinutes(2));
    EXPECT_EQ(messagesInModem(), 0u);
    EXPECT_TRUE(logHas("was found without an announcement"));
}

TEST_F(ModemHabitsEndToEnd, APduOnlyModemReceivesReportsAndSendsTheTextModeCommand) {
    setHabit([](sim::ModemHabits& h) { h.pduOnly = true; });
    store(0);
    session = startSession();
    inject(1);
    ASSERT_TRUE(session->waitFor([&] { return storedEvents() == 2 && messagesInModem() == 0; }))
        << listener.log;
    EXPECT_EQ(storedSorted(), MomentsOfMinutes(2));
    EXPECT_TRUE(logHas("Messages are read in PDU mode"));

    sendCommand(command);
    ASSERT_TRUE(session->waitFor([&] { return !sent().empty(); }));
    EXPECT_EQ(sent(), (std::vector<sim::SentSms>{{test::Truck.phone, command}}));
}

TEST_F(ModemHabitsEndToEnd, ASendRefusedForAMomentGoesOutOnTheRetry) {
    setHabit([](sim::ModemHabits& h) { h.refuseNextSend = 512; });
    session = startSession();
    sendCommand(command);
    ASSERT_TRUE(session->waitFor([&] { return !sent().empty(); })) << listener.log;
    EXPECT_EQ(sent(), (std::vector<sim::SentSms>{{test::Truck.phone, command}}));
    EXPECT_TRUE(logHas("+CMS ERROR: 512: the SMS is sent again in a moment."));
    EXPECT_FALSE(logHas("The SMS was not sent."));
}

}  // namespace
}  // namespace kv820
