#include <gtest/gtest.h>

#include <string>

#include "sim/modem_simulator.h"
#include "sim/tracker_module_simulator.h"

namespace kv820::sim {
namespace {

TEST(Faults, SilencedCommandGetsNoReplyAndIsNotCarriedOut) {
    ModemSimulator modem;
    modem.faults().silenceNext();
    EXPECT_EQ(modem.feed("at+cmgf=1\r"), "");
    EXPECT_FALSE(modem.textMode());
    EXPECT_EQ(modem.feed("at\r"), "at\r\r\nOK\r\n");
}

TEST(Faults, ErrorNextAnswersErrorAfterTheEcho) {
    ModemSimulator modem;
    modem.faults().errorNext();
    EXPECT_EQ(modem.feed("at+cnmi=1,1\r"), "at+cnmi=1,1\r\r\nERROR\r\n");
    EXPECT_FALSE(modem.announcing());
    EXPECT_EQ(modem.feed("at+cnmi=1,1\r"), "at+cnmi=1,1\r\r\nOK\r\n");
}

TEST(Faults, CutReplyKeepsOnlyItsFirstBytesButTheCommandIsDone) {
    ModemSimulator modem;
    modem.setClock([] { return SmsTimestamp{}; });
    modem.feed("at+cmgf=1\r");
    modem.injectSms("+15550100", "?354612071234567,1,3!");
    modem.faults().cutNext(19);
    EXPECT_EQ(modem.feed("at+cmgr=1\r"), "at+cmgr=1\r\r\n+CMGR: ");
    EXPECT_EQ(modem.storage().find(1)->status, MessageStatus::ReceivedRead);
    EXPECT_EQ(modem.feed("at\r"), "at\r\r\nOK\r\n");
}

TEST(Faults, GeneratedNoiseNeverEndsALine) {
    const std::string noise = FaultInjector::noise(500, 7);
    EXPECT_EQ(noise.size(), 500u);
    EXPECT_EQ(noise.find_first_of("\r\n"), std::string::npos);
}

TEST(Faults, AHungModemSaysNothingButKeepsWhatArrivesUntilItAnswersAgain) {
    ModemSimulator modem;
    modem.feed("at+cmgf=1\rat+cnmi=1,1\r");
    modem.faults().setHung(true);
    EXPECT_EQ(modem.injectSms("+1", "while hung"), 1);
    EXPECT_EQ(modem.feed("at\r"), "") << "neither the answer nor the \"+CMTI\"";
    modem.faults().setHung(false);
    EXPECT_EQ(modem.feed("at+cpms?\r"),
              "at+cpms?\r\r\n+CPMS: \"SM\",1,30,\"SM\",1,30,\"SM\",1,30\r\n\r\nOK\r\n");
}

}  // namespace
}  // namespace kv820::sim
