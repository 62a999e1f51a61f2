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

TEST(Faults, PermanentSilenceHoldsUntilCleared) {
    TrackerModuleSimulator tracker;
    tracker.faults().setSilent(true);
    EXPECT_EQ(tracker.feed("2"), "");
    EXPECT_EQ(tracker.feed("ati\r"), "");
    EXPECT_EQ(tracker.feed("at\r"), "");
    tracker.faults().clear();
    EXPECT_EQ(tracker.feed("at\r"), "at\r\r\nOK\r\n");
}

TEST(Faults, ErrorNextAnswersErrorAfterTheEcho) {
    ModemSimulator modem;
    modem.faults().errorNext();
    EXPECT_EQ(modem.feed("at+cnmi=1,1\r"), "at+cnmi=1,1\r\r\nERROR\r\n");
    EXPECT_FALSE(modem.announcing());
    EXPECT_EQ(modem.feed("at+cnmi=1,1\r"), "at+cnmi=1,1\r\r\nOK\r\n");
}

TEST(Faults, ErrorOnACommandHoldsForEveryUseOfIt) {
    ModemSimulator modem;
    modem.faults().errorOn("AT+CNMI");
    EXPECT_EQ(modem.feed("at+cmgf=1\r"), "at+cmgf=1\r\r\nOK\r\n");
    EXPECT_EQ(modem.feed("at+cnmi=1,1\r"), "at+cnmi=1,1\r\r\nERROR\r\n");
    EXPECT_EQ(modem.feed("at+cnmi=1,1\r"), "at+cnmi=1,1\r\r\nERROR\r\n");
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

TEST(Faults, CutAppliesToTheConfirmationOfAWrittenMessage) {
    TrackerModuleSimulator tracker;
    tracker.setEcho(false);
    tracker.feed("at+cmgw=+4\r");
    tracker.faults().cutNext(4);
    EXPECT_EQ(tracker.feed(",\x1a\r"), "\r\n+C");
}

TEST(Faults, NoiseAndOverlongLinesAreSentAtOnce) {
    ModemSimulator modem;
    modem.injectNoise(std::string("\xff\x00\x7f", 3));
    EXPECT_EQ(modem.takeOutput(), std::string("\xff\x00\x7f", 3));
    modem.injectOverlongLine(600);
    const std::string line = modem.takeOutput();
    EXPECT_EQ(line.size(), 602u);
    EXPECT_EQ(line.substr(600), "\r\n");
    EXPECT_EQ(line.find('\r'), 600u);
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

TEST(Faults, AVanishedDeviceNeverAnswersAgain) {
    TrackerModuleSimulator tracker;
    tracker.faults().vanish();
    tracker.faults().clear();
    EXPECT_EQ(tracker.feed("2at\r"), "");
}

}  // namespace
}  // namespace kv820::sim
