#include "sim/modem_simulator.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace kv820::sim {
namespace {

const SmsTimestamp Stamp{2007, 5, 12, 10, 20, 30, 32};

// One conversation from a fresh modem: what is written, then what the modem answers.
struct Script {
    const char* what;
    std::vector<std::pair<std::string, std::string>> exchanges;
};

class ModemScripts : public testing::TestWithParam<Script> {};

TEST_P(ModemScripts, AnswerByteForByte) {
    ModemSimulator modem;
    modem.setClock([] { return Stamp; });
    for (const auto& [written, answered] : GetParam().exchanges) {
        EXPECT_EQ(modem.feed(written), answered) << GetParam().what << ": " << written;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Basics, ModemScripts,
    testing::Values(Script{"plain commands",
                           {{"at\r", "at\r\r\nOK\r\n"},
                            {"ati\r", "ati\r\r\nSIEMENS\r\nMC35i\r\nREVISION 02.00\r\n\r\nOK\r\n"},
                            {"at+bogus\r", "at+bogus\r\r\nERROR\r\n"},
                            {"tr+fwv\r", "tr+fwv\r\r\nERROR\r\n"},
                            {"22at\r", "at\r\r\nOK\r\n"},
                            {"\r\n", ""}}},
                    // Text-mode commands before "at+cmgf=1" are refused, as in PDU mode.
                    Script{"pdu mode", {{"at+cmgr=1\r", "at+cmgr=1\r\r\n+CMS ERROR: 302\r\n"}}},
                    Script{"echo off and on",
                           {{"ate0\r", "ate0\r\r\nOK\r\n"},
                            {"at\r", "\r\nOK\r\n"},
                            {"ate1\r", "\r\nOK\r\n"},
                            {"at\r", "at\r\r\nOK\r\n"}}},
                    Script{"send",
                           {{"at+cmgf=1\r", "at+cmgf=1\r\r\nOK\r\n"},
                            {"at+cmgs=0912345678\r", "at+cmgs=0912345678\r\r\n> "},
                            {"?2,354612071234567!\x1a\r",
                             "?2,354612071234567!\r\n+CMGS: 1\r\n\r\nOK\r\n"}}},
                    Script{"text in pieces",
                           {{"ate0\r", "ate0\r\r\nOK\r\n"},
                            {"at+cmgf=1\r", "\r\nOK\r\n"},
                            {"at+cmgs=0912345678\r", "\r\n> "},
                            {"?2,3546", ""},
                            {"12071234567!\x1a", "\r\n+CMGS: 1\r\n\r\nOK\r\n"}}},
                    Script{"escape cancels",
                           {{"at+cmgf=1\r", "at+cmgf=1\r\r\nOK\r\n"},
                            {"at+cmgs=0912345678\r", "at+cmgs=0912345678\r\r\n> "},
                            {"never\x1b", "never\r\nOK\r\n"}}}),
    [](const testing::TestParamInfo<Script>& info) {
        return "Script" + std::to_string(info.index);
    });

TEST(ModemStorage, AFullMemoryTakesNoMoreMessages) {
    ModemSimulator modem(2);
    modem.feed("at+cnmi=1,1\r");
    EXPECT_EQ(modem.injectSms("+1", "a"), 1);
    EXPECT_EQ(modem.injectSms("+1", "b"), 2);
    modem.takeOutput();
    EXPECT_EQ(modem.injectSms("+1", "c"), std::nullopt);
    EXPECT_EQ(modem.takeOutput(), "");
}

}  // namespace
}  // namespace kv820::sim
