#include "core/reception/sms_modem_init.h"

#include <gtest/gtest.h>

#include "support/fake_serial_link.h"
#include "support/virtual_clock.h"

namespace kv820 {
namespace {

using std::chrono::milliseconds;
using test::FakeSerialLink;
using test::VirtualClock;

const std::vector<std::string> WakeWrites = {"2", "at\r", "2", "at\r", "at\r", "ati\r"};
const std::vector<std::string> InitWrites = {"2",
                                             "at\r",
                                             "2",
                                             "at\r",
                                             "at\r",
                                             "ati\r",
                                             "at+cmgf=1\r",
                                             "at+cpms=?\r",
                                             "at+cpms=\"SM\",\"SM\",\"SM\"\r",
                                             "at+cnmi=1,1\r"};

std::string ok(const std::string& command, const std::string& information = "") {
    return command + "\r\r\n" + information + (information.empty() ? "" : "\r\n") + "\r\nOK\r\n";
}

class InitModemForSmsTest : public ::testing::Test {
  protected:
    InitModemForSmsTest() : link(clock), port(link, clock) {
        link.replyTo("at\r", "at\r\r\nOK\r\n", 0);
        link.replyTo("ati\r", "ati\r\r\nSIEMENS\r\nMC35i\r\nREVISION 02.00\r\n\r\nOK\r\n");
    }

    VirtualClock clock;
    FakeSerialLink link;
    ComPort port;
};

TEST_F(InitModemForSmsTest, WakesTwiceThenSwitchesToTextModeAndTheSimWithAnnouncements) {
    link.replyTo("at+cmgf=1\r", "at+cmgf=1\r\r\nOK\r\n");
    link.replyTo("at+cpms=?\r", ok("at+cpms=?", "+CPMS: (\"SM\",\"ME\"),(\"SM\",\"ME\"),(\"SM\")"));
    link.replyTo("at+cpms=\"SM\",\"SM\",\"SM\"\r", ok("at+cpms"));
    link.replyTo("at+cnmi=1,1\r", "at+cnmi=1,1\r\r\nOK\r\n");

    const auto setup = InitModemForSms(port, "ttyUSB0:");
    ASSERT_TRUE(setup.has_value());
    EXPECT_EQ(setup->mode, MessageMode::Text);
    EXPECT_EQ(setup->stores.inUse, "SM");
    EXPECT_EQ(setup->stores.listed, (std::vector<std::string>{"SM", "ME"}));
    EXPECT_EQ(link.openedPaths, (std::vector<std::string>{"ttyUSB0"}));
    EXPECT_EQ(link.writes, InitWrites);
    EXPECT_TRUE(port.isOpen());
    // Two wakes of a 500 ms read each; the modem answers "at" at once.
    EXPECT_EQ(clock.now(), milliseconds(1000));
}

TEST(InitModemForSmsWakeTest, AModemSlowToWakeGetsTheWholePause) {
    VirtualClock clock;
    FakeSerialLink link(clock);
    ComPort port(link, clock);
    // Answers every command, but only from the fourth second on.
    link.onWrite = [&clock](FakeSerialLink& modem, std::string_view bytes) {
        if (clock.now() >= milliseconds(4000) && bytes != "2") {
            modem.feed(std::string(bytes) + "\r\nOK\r\n");
        }
    };
    EXPECT_TRUE(InitModemForSms(port, "ttyUSB0:"));
    EXPECT_GE(clock.now(), milliseconds(4000));
    EXPECT_LT(clock.now(), milliseconds(7000)) << "the second wake is answered at once";
}

// How modems in the field answer the mode and store commands.
struct ModemCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> replies;  // command, reply
    std::vector<std::string> writesAfterWake;
    std::optional<MessageMode> mode;  // none: the start fails
    std::string storeInUse;
};

class InitModemForSmsModemTest : public InitModemForSmsTest,
                                 public ::testing::WithParamInterface<ModemCase> {};

TEST_P(InitModemForSmsModemTest, SetsAModeAndStoresItOffers) {
    for (const auto& [command, reply] : GetParam().replies) {
        link.replyTo(command + "\r", reply);
    }
    const auto setup = InitModemForSms(port, "ttyUSB0:");
    std::vector<std::string> expected = WakeWrites;
    for (const std::string& command : GetParam().writesAfterWake) {
        expected.push_back(command + "\r");
    }
    EXPECT_EQ(link.writes, expected);
    ASSERT_EQ(setup.has_value(), GetParam().mode.has_value());
    // A failed start leaves the port free for the next try.
    EXPECT_EQ(port.isOpen(), setup.has_value());
    if (setup) {
        EXPECT_EQ(setup->mode, *GetParam().mode);
        EXPECT_EQ(setup->stores.inUse, GetParam().storeInUse);
    }
}

const std::string CmgfText = "at+cmgf=1", CmgfPdu = "at+cmgf=0", Offer = "at+cpms=?",
                  Cnmi = "at+cnmi=1,1";

INSTANTIATE_TEST_SUITE_P(
    Modems, InitModemForSmsModemTest,
    ::testing::Values(ModemCase{"pdu_only",
                                {{CmgfText, "ERROR\r\n"},
                                 {CmgfPdu, "OK\r\n"},
                                 {Offer, ok(Offer, "+CPMS: (\"SM\"),(\"SM\"),(\"SM\")")},
                                 {"at+cpms=\"SM\",\"SM\",\"SM\"", "OK\r\n"},
                                 {Cnmi, "OK\r\n"}},
                                {CmgfText, CmgfPdu, Offer, "at+cpms=\"SM\",\"SM\",\"SM\"", Cnmi},
                                MessageMode::Pdu,
                                "SM"},
                      ModemCase{
                          "receives_in_its_memory_only",
                          {{CmgfText, "OK\r\n"},
                           {Offer, ok(Offer,
                                      "+CPMS: (\"ME\",\"MT\",\"SM\",\"SR\"),(\"ME\",\"MT\",\"SM\"),"
                                      "(\"MT\",\"ME\")")},
                           {"at+cpms=\"SM\",\"SM\",\"ME\"", "OK\r\n"},
                           {Cnmi, "OK\r\n"}},
                          {CmgfText, Offer, "at+cpms=\"SM\",\"SM\",\"ME\"", Cnmi},
                          MessageMode::Text,
                          "SM"},
                      ModemCase{"without_stores",
                                {{CmgfText, "OK\r\n"}, {Offer, "ERROR\r\n"}, {Cnmi, "OK\r\n"}},
                                {CmgfText, Offer, Cnmi},
                                MessageMode::Text,
                                ""},
                      ModemCase{"stores_refused",
                                {{CmgfText, "OK\r\n"},
                                 {Offer, ok(Offer, "+CPMS: (\"SM\"),(\"SM\"),(\"SM\")")},
                                 {"at+cpms=\"SM\",\"SM\",\"SM\"", "+CMS ERROR: 302\r\n"},
                                 {Cnmi, "OK\r\n"}},
                                {CmgfText, Offer, "at+cpms=\"SM\",\"SM\",\"SM\"", Cnmi},
                                MessageMode::Text,
                                ""},
                      ModemCase{"announcements_refused",
                                {{CmgfText, "OK\r\n"}, {Offer, "ERROR\r\n"}, {Cnmi, "ERROR\r\n"}},
                                {CmgfText, Offer, Cnmi},
                                std::nullopt,
                                ""},
                      ModemCase{"no_mode_at_all",
                                {{CmgfText, "ERROR\r\n"}, {CmgfPdu, "ERROR\r\n"}},
                                {CmgfText, CmgfPdu},
                                std::nullopt,
                                ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(InitModemForSmsTest, APortThatDoesNotOpenOrTheEntryNoGetsNothingWritten) {
    EXPECT_FALSE(InitModemForSms(port, "NO"));
    EXPECT_TRUE(link.openedPaths.empty());
    link.openSucceeds = false;
    EXPECT_FALSE(InitModemForSms(port, "ttyUSB0:"));
    EXPECT_TRUE(link.writes.empty());
    EXPECT_FALSE(port.isOpen());
}

}  // namespace
}  // namespace kv820
