#include "core/setup/connect_tracker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/setup/tracker_identity.h"
#include "support/scripted_tracker.h"
#include "support/setup_file_printer.h"

namespace kv820 {
namespace {

using test::echoed;
using test::ListingCommand;
using test::listingReply;
using test::ScriptedTracker;
using test::TrackerImei;
using Writes = std::vector<std::string>;

const std::vector<std::string> StoredTexts = {"1,5,,,,,,,Old name,-0.00,1,60,0,9,2468,",
                                              "110,,,+8861,0922,,,", "5000,,,,,,", ","};

Writes then(Writes first, const Writes& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

const Writes IdentifyWrites = then({"2", "2", "2", "at\r", "tr+fwv\r", "at+cfun=1\r", "ati\r"},
                                   {"at+cpin?\r", "at+cmgf=1\r", "at+cpms=\"ME\",\"ME\",\"MT\"\r",
                                    "at^smgl=\"STO UNSENT\"\r", "at+cgsn\r"});

class ConnectTrackerTest : public testing::Test {
  protected:
    ConnectTrackerTest() { tracker.holdSetupFile(StoredTexts, {1, 2, 3, 4}); }

    ConnectResult connect(const std::string& entry = "ttyUSB0:") {
        tracker.install(link);
        hooks.progress = [this](std::string_view text) { statuses.emplace_back(text); };
        hooks.pulseBreakOnListedPorts = [this] { pulsesWhileClosed += link.isOpen() ? 0 : 1; };
        return ConnectTracker(port, entry, context, users, hooks);
    }
    // Another tracker on a fresh line, sharing the context and the users.
    ConnectResult connectOther(const ScriptedTracker& other) {
        test::FakeSerialLink otherLink{clock};
        ComPort otherPort{otherLink, clock};
        other.install(otherLink);
        return ConnectTracker(otherPort, "ttyUSB1:", context, users, {});
    }

    test::VirtualClock clock;
    test::FakeSerialLink link{clock};
    ComPort port{link, clock};
    ScriptedTracker tracker;
    SetupContext context;
    UserRegistry::Snapshot users;
    ConnectTrackerHooks hooks;
    std::vector<std::string> statuses;
    int pulsesWhileClosed = 0;
};

TEST_F(ConnectTrackerTest, CompleteSetupFileIsReadAndDecoded) {
    tracker.holdSetupFile(StoredTexts, {3, 4, 11, 12});
    port.OpenComPort("ttyS9:");  // left open by an earlier step: closed before the pulse
    const ConnectResult result = connect();

    EXPECT_EQ(result.outcome, ConnectOutcome::SetupFileRead);
    EXPECT_EQ(link.writes,
              then(IdentifyWrites, {"at+cmgr=3\r", "at+cmgr=4\r", "at+cmgr=11\r", "at+cmgr=12\r"}));
    EXPECT_EQ(link.openedPaths, (std::vector<std::string>{"ttyS9", "ttyUSB0"}));
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(pulsesWhileClosed, 1);
    // The tracker echoes the wake character: no wake waits out its pause.
    EXPECT_LT(clock.now(), std::chrono::milliseconds(5000));
    EXPECT_EQ(result.imei + ' ' + result.firmwareVersion, std::string(TrackerImei) + " V1.01(B05)");
    // The user name stays empty: the dialog shows the registered name.
    EXPECT_EQ(result.setupFile.sosNumbers[0] + '|' + result.setupFile.reportReturnPhone + '|' +
                  result.setupFile.userName,
              "110|0922|");
    EXPECT_EQ(context.portEntry + ' ' + context.trackerSimPin, "ttyUSB0: 2468");
    EXPECT_TRUE(context.loadedFromDevice && !context.trackerRegistered);
    EXPECT_EQ(context.storedIndex[3], 12);
    EXPECT_EQ(statuses.size(), 11u) << "a step for the listing, the IMEI and each read";
}

TEST_F(ConnectTrackerTest, SilentPortWaitsOutTheWakesThenIsAComPortError) {
    const ConnectResult result = ConnectTracker(port, "ttyUSB0:", context, users, hooks);
    EXPECT_EQ(result.outcome, ConnectOutcome::ComPortError);
    EXPECT_EQ(connectOutcomeMessage(result.outcome), "COM Port is ERROR.");
    // Three wakes with their whole pause each, and then no question it would not answer.
    EXPECT_EQ(std::count(link.writes.begin(), link.writes.end(), "2"), 3);
    for (const std::string& write : link.writes) {
        EXPECT_TRUE(write == "2" || write == "at\r" || write == "\x1b") << write;
    }
    EXPECT_GE(clock.now(), std::chrono::milliseconds(15000));
    EXPECT_LE(clock.now(), std::chrono::milliseconds(30000));
    EXPECT_FALSE(link.isOpen());
}

TEST_F(ConnectTrackerTest, FiveUsersRefuseANewTrackerFirstAndLetARegisteredOneThrough) {
    for (int i = 0; i < 5; ++i) {
        users.users[i] = {"User " + std::to_string(i), "09" + std::to_string(i),
                          "35600000000010" + std::to_string(i)};
    }
    users.userCount = 5;
    tracker.pinStateReply = echoed("at+cpin?", "+CPIN: SIM PUK");  // not looked at
    EXPECT_EQ(connect().outcome, ConnectOutcome::UserLimitReached);

    users.users[3] = {"Bus 7", "0912345678", TrackerImei};
    ScriptedTracker registered;
    registered.holdSetupFile(StoredTexts, {1, 2, 3, 4});
    const ConnectResult result = connectOther(registered);
    EXPECT_EQ(result.outcome, ConnectOutcome::SetupFileRead);
    EXPECT_TRUE(context.trackerRegistered);
    EXPECT_EQ(result.registeredName, "Bus 7");
    EXPECT_EQ(result.registeredPhone, "0912345678");
}

using T = ScriptedTracker&;

// A listing with message 3's index unreadable.
std::string withoutIndexThree(std::string listing) {
    return listing.replace(listing.find("^SMGL: 3"), 8, "^SMGL: ?");
}

const std::vector<test::ListedMessage> Doubled = {{1, "+1", StoredTexts[0]},
                                                  {2, "+2", StoredTexts[1]},
                                                  {3, "+3", StoredTexts[2]},
                                                  {4, "+3", StoredTexts[2]},
                                                  {5, "+4", StoredTexts[3]}};

struct FailureCase {
    const char* name;
    ConnectOutcome outcome;
    void (*script)(ScriptedTracker&);
    Writes deletes = {};  // after the identification, in this order
};

void printTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class ConnectFailures : public ConnectTrackerTest,
                        public testing::WithParamInterface<FailureCase> {};

// A refused check reads and deletes nothing; a damaged file gives the defaults and deletes
// only the messages whose index is known. Either way the port is closed.
TEST_P(ConnectFailures, LoadNothingAndDeleteOnlyKnownIndexes) {
    GetParam().script(tracker);
    const ConnectResult result = connect();
    EXPECT_EQ(result.outcome, GetParam().outcome);
    EXPECT_EQ(link.writes, then(IdentifyWrites, GetParam().deletes));
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(result.setupFile, SetupFile{});
    EXPECT_FALSE(context.loadedFromDevice);
    if (result.outcome == ConnectOutcome::SetupFileDamaged) {
        EXPECT_EQ(result.imei, TrackerImei);
    } else {
        EXPECT_EQ(statuses.back(), "");  // a refusal clears the status line
    }
}

INSTANTIATE_TEST_SUITE_P(
    Checks, ConnectFailures,
    testing::Values(
        FailureCase("OtherModule", ConnectOutcome::ComPortError,
                    [](T t) { t.atiReply = echoed("ati", "ACME GSM"); }),
        FailureCase("ImeiOf14Digits", ConnectOutcome::ComPortError,
                    [](T t) { t.imeiReply = echoed("at+cgsn", "35600000000000"); }),
        FailureCase("NoSim", ConnectOutcome::NoSimCard,
                    [](T t) { t.pinStateReply = "at+cpin?\r\r\n+CME ERROR: 10\r\n"; }),
        FailureCase("PinWanted", ConnectOutcome::SimPinRequired,
                    [](T t) { t.pinStateReply = echoed("at+cpin?", "+CPIN: SIM PIN"); }),
        FailureCase("PukWanted", ConnectOutcome::SimLocked,
                    [](T t) { t.pinStateReply = echoed("at+cpin?", "+CPIN: SIM PUK"); }),
        FailureCase("ListingFailed", ConnectOutcome::ConnectError,
                    [](T t) { t.listings = {"at^smgl=\"STO UNSENT\"\r\r\n+CMS ERROR: 302\r\n"}; }),
        FailureCase("FreshTracker", ConnectOutcome::SetupFileDamaged,
                    [](T t) { t.listings = {listingReply({})}; }),
        FailureCase("IncompleteInIndexOrder", ConnectOutcome::SetupFileDamaged,
                    [](T t) {
                        t.listings = {listingReply(
                            {{8, "+4", ","}, {5, "+1", StoredTexts[0]}, {6, "+2", ","}})};
                    },
                    {"at+cmgd=5\r", "at+cmgd=6\r", "at+cmgd=8\r"}),
        // The doubled message is listed again and its second copy deleted.
        FailureCase("DoubledMessage", ConnectOutcome::SetupFileDamaged,
                    [](T t) {
                        t.listings = {listingReply(Doubled), listingReply({Doubled[3]})};
                    },
                    {"at+cmgd=1\r", "at+cmgd=2\r", "at+cmgd=3\r", "at+cmgd=5\r",
                     ListingCommand + "\r", "at+cmgd=4\r"}),
        FailureCase("UnreadableIndex", ConnectOutcome::SetupFileDamaged,
                    [](T t) {
                        t.listings = {withoutIndexThree(listingReply({{1, "+1", StoredTexts[0]},
                                                                      {2, "+2", StoredTexts[1]},
                                                                      {3, "+3", StoredTexts[2]},
                                                                      {4, "+4", StoredTexts[3]}}))};
                    },
                    {"at+cmgd=1\r", "at+cmgd=2\r", "at+cmgd=4\r"})),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConnectTrackerTest, TheStoredPinBelongsToItsTrackerOnlyAndOnlyAsDigits) {
    connect();
    EXPECT_EQ(simPinToWrite(context), "2468");

    ScriptedTracker fresh;
    fresh.listings = {listingReply({})};
    connectOther(fresh);
    EXPECT_EQ(simPinToWrite(context), "5184");

    std::vector<std::string> texts = StoredTexts;
    texts[0] = "0,3,,,,,,,x,+8.00,2,30,1,,12ab,";
    ScriptedTracker odd;
    odd.holdSetupFile(texts, {1, 2, 3, 4});
    connectOther(odd);
    EXPECT_EQ(context.trackerSimPin, "");
    EXPECT_EQ(simPinToWrite(context), "5184");
}

// The version runs from offset 15 up to the first closing parenthesis; the IMEI is fifteen
// characters from offset 10, or else from offset 18.
TEST(TrackerIdentity, FirmwareVersionAndImeiAreTakenFromFixedOffsets) {
    EXPECT_EQ(firmwareVersionFromReply("tr+fwv\r\r\nKV-820V1.01(B05)(x)\r\n\r\nOK\r\n"),
              "V1.01(B05)");
    EXPECT_EQ(firmwareVersionFromReply("tr+fwv\r\r\nERROR\r\n"), "0001");
    EXPECT_EQ(firmwareVersionFromReply(""), "0001");
    EXPECT_EQ(firmwareVersionFromReply("\r\nKV-820V1.01(B05)\r\n"), "");  // no echo
    EXPECT_EQ(firmwareVersionFromReply("tr+fwv\r\r\nKV-820 V1.01\r\nOK\r\n"), "");
    EXPECT_EQ(imeiFromReply("at+cgsn\r\r\n3560000000000019999\r\n"), "356000000000001");
    EXPECT_EQ(imeiFromReply("at+cgsn\r\r\nIMEI No:356000000000001\r\n"), "356000000000001");
    EXPECT_EQ(imeiFromReply("at+cgsn\r\r\n35600\r\n\r\nOK\r\n"), "\nOK\r\n");
    EXPECT_EQ(imeiFromReply(""), "");
    EXPECT_TRUE(isValidImei("356000000000001"));
    EXPECT_FALSE(isValidImei("35600000000000x"));
    EXPECT_FALSE(isValidImei("3560000000000012"));
}

}  // namespace
}  // namespace kv820
