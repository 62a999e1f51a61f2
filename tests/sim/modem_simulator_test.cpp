#include "sim/modem_simulator.h"
#include "core/sms/sms_pdu.h"
#include "sim/tracker_module_simulator.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace kv820::sim {
namespace {

const SmsTimestamp Stamp{2007, 5, 12, 10, 20, 30, 32};

// One conversation from a fresh device: what is written, then what the device answers.
struct Script {
    const char* what;
    std::vector<std::pair<std::string, std::string>> exchanges;
    bool tracker = false;
};

TEST(DeviceScripts, AnswerByteForByte) {
    const Script scripts[] = {
        Script{"plain commands",
               {{"at\r", "at\r\r\nOK\r\n"},
                {"ati\r", "ati\r\r\nSIEMENS\r\nMC35i\r\nREVISION 02.00\r\n\r\nOK\r\n"},
                {"at+bogus\r", "at+bogus\r\r\nERROR\r\n"},
                {"tr+fwv\r", "tr+fwv\r\r\nERROR\r\n"},
                {"22at\r", "at\r\r\nOK\r\n"},
                {"\r\n", ""}}},
        Script{"stores",
               {{"at+cpms=\"ME\"\r", "at+cpms=\"ME\"\r\r\n+CPMS: 0,100,0,100,0,30\r\n\r\nOK\r\n"},
                {"at+cpms?\r",
                 "at+cpms?\r\r\n+CPMS: \"ME\",0,100,\"ME\",0,100,\"SM\",0,30\r\n\r\nOK\r\n"},
                {"at+cpms=\"BM\"\r", "at+cpms=\"BM\"\r\r\n+CMS ERROR: 302\r\n"}}},
        Script{"echo off and on",
               {{"ate0\r", "ate0\r\r\nOK\r\n"},
                {"at\r", "\r\nOK\r\n"},
                {"ate1\r", "\r\nOK\r\n"},
                {"at\r", "at\r\r\nOK\r\n"}}},
        Script{"send",
               {{"at+cmgf=1\r", "at+cmgf=1\r\r\nOK\r\n"},
                {"at+cmgs=0912345678\r", "at+cmgs=0912345678\r\r\n> "},
                {"?2,354612071234567!\x1a\r", "?2,354612071234567!\r\n+CMGS: 1\r\n\r\nOK\r\n"}}},
        Script{"text in pieces",
               {{"ate0\r", "ate0\r\r\nOK\r\n"},
                {"at+cmgf=1\r", "\r\nOK\r\n"},
                {"at+cmgs=0912345678\r", "\r\n> "},
                {"?2,3546", ""},
                {"12071234567!\x1a", "\r\n+CMGS: 1\r\n\r\nOK\r\n"}}},
        Script{"escape cancels",
               {{"at+cmgf=1\r", "at+cmgf=1\r\r\nOK\r\n"},
                {"at+cmgs=0912345678\r", "at+cmgs=0912345678\r\r\n> "},
                {"never\x1b", "never\r\nOK\r\n"}}},
        Script{"tracker connect sequence",
               {{"2", "2"},
                {"tr+fwv\r", "tr+fwv\r\r\nKV-820V1.01(2007-05-12)\r\n\r\nOK\r\n"},
                {"at+cfun=1\r", "at+cfun=1\r\r\nOK\r\n"},
                {"at+cpin?\r", "at+cpin?\r\r\n+CPIN: READY\r\n\r\nOK\r\n"},
                {"at+cpms=\"ME\",\"ME\",\"MT\"\r",
                 "at+cpms=\"ME\",\"ME\",\"MT\"\r\r\n+CPMS: 4,25,4,25,4,25\r\n\r\nOK\r\n"},
                {"at^smgl=\"STO UNSENT\"\r",
                 "at^smgl=\"STO UNSENT\"\r\r\n"
                 "^SMGL: 1,\"STO UNSENT\",\"+1\",,\r\n0,3,,,,,,,Tracker 1,+8.00,2,30,1,,5184,\r\n"
                 "^SMGL: 2,\"STO UNSENT\",\"+2\",,\r\n,,,,,,,\r\n"
                 "^SMGL: 3,\"STO UNSENT\",\"+3\",,\r\n5000,,,,,,\r\n"
                 "^SMGL: 4,\"STO UNSENT\",\"+4\",,\r\n,\r\n\r\nOK\r\n"},
                {"at+cgsn\r", "at+cgsn\r\r\n354612071234567\r\n\r\nOK\r\n"},
                {"at+cmgr=3\r",
                 "at+cmgr=3\r\r\n+CMGR: \"STO UNSENT\",\"+3\",\r\n5000,,,,,,\r\n\r\nOK\r\n"}},
               true},
    };
    for (const Script& script : scripts) {
        ModemSimulator modem;
        modem.setClock([] { return Stamp; });
        TrackerModuleSimulator tracker;
        AtDeviceSimulator& device =
            script.tracker ? static_cast<AtDeviceSimulator&>(tracker) : modem;
        for (const auto& [written, answered] : script.exchanges) {
            EXPECT_EQ(device.feed(written), answered) << script.what << ": " << written;
        }
    }
}

// The habits of modems in the field, each as the program meets it.
TEST(ModemHabits, StoreInItsMemoryLoseAnnouncementsRefuseTextModeAndASend) {
    ModemSimulator modem;
    modem.setClock([] { return Stamp; });
    modem.feed("at+cnmi=1,1\r");
    modem.habits().receiveInPhoneMemory = true;
    modem.habits().loseEveryNth = 2;
    for (int i = 0; i < 4; ++i) {
        modem.injectSms("+886912345678", "Hello");
    }
    EXPECT_EQ(modem.takeOutput(), "\r\n+CMTI: \"ME\",1\r\n\r\n+CMTI: \"ME\",3\r\n");
    EXPECT_EQ(modem.phoneMemory().size(), 4u);
    EXPECT_EQ(modem.storage().size(), 0u);
    EXPECT_EQ(modem.feed("at+cpms=\"SM\",\"SM\",\"SM\"\r"),
              "at+cpms=\"SM\",\"SM\",\"SM\"\r\r\n+CMS ERROR: 302\r\n");

    modem.habits().pduOnly = true;
    EXPECT_EQ(modem.feed("at+cmgf=1\r"), "at+cmgf=1\r\r\nERROR\r\n");
    EXPECT_EQ(modem.feed("at+cmgf=0\r"), "at+cmgf=0\r\r\nOK\r\n");
    modem.feed("at+cpms=\"ME\"\r");
    const std::string read = modem.feed("at+cmgr=2\r");
    const std::size_t pduStart = read.find("\r\n", read.find("+CMGR: 0,,")) + 2;
    const auto message = decodeSmsPdu(read.substr(pduStart, read.find('\r', pduStart) - pduStart));
    ASSERT_TRUE(message.has_value()) << read;
    EXPECT_EQ(message->text, "Hello");
    EXPECT_EQ(message->timestampText, Stamp.toText());

    modem.habits().refuseNextSend = 512;
    const auto submit = encodeSmsSubmit("0912345678", "?2,354612071234567!");
    const std::string send = "at+cmgs=" + std::to_string(submit->tpduOctets) + "\r";
    for (const char* answer : {"\r\n+CMS ERROR: 512\r\n", "\r\n+CMGS: 1\r\n\r\nOK\r\n"}) {
        modem.feed(send);
        EXPECT_TRUE(modem.feed(submit->hex + "\x1a").ends_with(answer));
    }
    EXPECT_EQ(modem.sentMessages(), (std::vector<SentSms>{{"0912345678", "?2,354612071234567!"}}));
}

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
