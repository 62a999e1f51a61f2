#include "sim/control_channel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "sim/fault_injector.h"
#include "support/temp_dir.h"

namespace kv820::sim {
namespace {

using Script = std::vector<std::pair<std::string, std::string>>;  // line, answer

void answers(ControlChannel& channel, const Script& script) {
    for (const auto& [line, answer] : script) {
        EXPECT_EQ(channel.execute(line), answer) << line;
    }
}

TEST(ModemControl, WordsAreParsedIntoMessagesFaultsAndClearErrors) {
    auto simulator = PtySimulator::modem();
    ControlChannel channel(*simulator);
    answers(channel,
            {{"sms +15550100 hello there", "index 1\nok\n"},
             {"store 354612071234567 kind=5 fix=2 date=070512 time=235959 lon=-74.205 lat=S3330.5 "
              "speed=1 sats=4",
              "index 2\nok\n"},
             {"stored",
              "stored 1 \"REC UNREAD\" +15550100 hello there\n"
              "stored 2 \"REC UNREAD\" +886912345678 "
              "?354612071234567,5,2,070512,235959,W07412.3000,S3330.5,100,1,0,4,0!\nok\n"},
             {"burst 3 354612071234567", "stored 3\nok\n"},
             {"store 354612071234567 colour=red", "error: unknown key: colour\n"},
             {"store", "error: an IMEI is needed\n"},
             {"setup none", "error: not a command of this role: setup\n"},
             {"cut x", "error: not a number: x\n"},
             {"reappear", "error: the port is there (vanish comes first)\n"},
             {"# a comment", ""},
             {"error at+cnmi", "ok\n"}});
    const auto feed = [&](const char* bytes) {
        return simulator->withModem([&](ModemSimulator& m) { return m.feed(bytes); });
    };
    EXPECT_EQ(feed("at+cnmi=1,1\r"), "at+cnmi=1,1\r\r\nERROR\r\n");
    EXPECT_FALSE(simulator->withModem([](ModemSimulator& m) { return m.announcing(); }));
    // A silenced command is not carried out, and only the next one is silenced.
    answers(channel, {{"clear", "ok\n"}, {"silence", "ok\n"}});
    EXPECT_EQ(feed("at+cmgf=1\r"), "");
    EXPECT_FALSE(simulator->withModem([](ModemSimulator& m) { return m.textMode(); }));
    // A cut meant for one command (any case) leaves the commands before it whole.
    simulator->withModem([](ModemSimulator& m) { m.faults().cutNext(4, "AT+CMGF"); });
    EXPECT_EQ(feed("at\r"), "at\r\r\nOK\r\n");
    EXPECT_EQ(feed("at+cmgf=1\r"), "at+c");
    answers(channel, {{"quit", "ok\n"}});
    EXPECT_TRUE(channel.quitRequested());
}

TEST(ModemControl, APortVanishesWithItsLinkAndReappearsBehindItWithTheStoredMessages) {
    auto simulator = PtySimulator::modem();
    ControlChannel channel(*simulator);
    const test::TempDir dir;
    const std::string link = dir.file("kv820-modem");
    simulator->setStablePath(link);
    answers(channel, {{"store-sms +15550100 kept", "index 1\nok\n"}, {"vanish", "ok\n"}});
    EXPECT_FALSE(std::filesystem::is_symlink(link));
    answers(channel,
            {{"reappear", "ok\n"}, {"stored", "stored 1 \"REC UNREAD\" +15550100 kept\nok\n"}});
    EXPECT_EQ(std::filesystem::read_symlink(link), simulator->devicePath());
}

TEST(TrackerControl, ChangesSimAndSetupMessages) {
    auto simulator = PtySimulator::tracker();
    ControlChannel channel(*simulator);
    answers(channel, {{"sim pin 4321", "ok\n"},
                      {"setup doubled", "ok\n"},
                      {"report 354612071234567", "error: not a command of this role: report\n"}});
    simulator->withTracker([](TrackerModuleSimulator& t) {
        EXPECT_EQ(t.sim().state(), SimCard::State::PinRequired);
        EXPECT_EQ(t.sim().pin(), "4321");
        EXPECT_EQ(t.storage().size(), 5u);
    });
}

// The noise the "noise" command injects must not end a line, or it would frame a reply.
TEST(Faults, GeneratedNoiseNeverEndsALine) {
    const std::string noise = FaultInjector::noise(500, 7);
    EXPECT_EQ(noise.size(), 500u);
    EXPECT_EQ(noise.find_first_of("\r\n"), std::string::npos);
}

}  // namespace
}  // namespace kv820::sim
