#include <gtest/gtest.h>

#include <string>

#include "sim/modem_simulator.h"

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

TEST(Faults, GeneratedNoiseNeverEndsALine) {
    const std::string noise = FaultInjector::noise(500, 7);
    EXPECT_EQ(noise.size(), 500u);
    EXPECT_EQ(noise.find_first_of("\r\n"), std::string::npos);
}

}  // namespace
}  // namespace kv820::sim
