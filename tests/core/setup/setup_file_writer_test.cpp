#include "core/setup/setup_file_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_serial_link.h"
#include "support/tracker_replies.h"

namespace kv820 {
namespace {

using std::chrono::milliseconds;
using Writes = std::vector<std::string>;

const std::string End = "\x1A\r";

class SetupFileWriterTest : public testing::Test {
  protected:
    void SetUp() override {
        context.portEntry = "ttyUSB0:";
        file.userName = "Bus 7";
        link.onWrite = [this](test::FakeSerialLink& l, std::string_view written) {
            answer(l, written);
        };
    }

    // A module that prompts for each message and stores it under the next index.
    void answer(test::FakeSerialLink& l, std::string_view written) {
        if (written.starts_with("at+cmgd=")) {
            l.feed(std::string(written) + "\r\nOK\r\n");
        } else if (written.starts_with("at+cmgw=")) {
            l.feed(std::string(written) + "\r\n> ");
        } else if (written.ends_with(End)) {
            const bool refused = ++stored == refuseMessage;
            l.feed(refused ? std::string("\r\n+CMS ERROR: 322\r\n")
                           : "\r\n+CMGW: " + std::to_string(20 + stored) + "\r\n\r\nOK\r\n");
        }
    }

    WriteOutcome write() {
        return WriteSetupFile(port, context, file, "+8.00",
                              [this](std::string_view t) { statuses.emplace_back(t); });
    }

    test::VirtualClock clock;
    test::FakeSerialLink link{clock};
    ComPort port{link, clock};
    SetupContext context;
    SetupFile file;
    std::vector<std::string> statuses;
    int stored = 0;
    int refuseMessage = 0;
};

const Writes NewMessages = {"at+cmgw=+1\r", "0,3,,,,,,,Bus 7,+8.00,2,30,1,,5184," + End,
                            "at+cmgw=+2\r", ",,,,,,," + End,
                            "at+cmgw=+3\r", "5000,,,,,," + End,
                            "at+cmgw=+4\r", "," + End};

// The old messages of a file read from the tracker go first, but only those whose index
// is known; each step is paced. The registration closes the port.
TEST_F(SetupFileWriterTest, NewMessagesReplaceTheOldOnesInPacedSteps) {
    EXPECT_EQ(write(), WriteOutcome::Written);
    EXPECT_EQ(link.openedPaths, std::vector<std::string>{"ttyUSB0"});
    EXPECT_EQ(link.writes, NewMessages);
    EXPECT_EQ(statuses.size(), 8u);
    EXPECT_EQ(clock.now(), milliseconds(8 * 500));
    EXPECT_TRUE(link.isOpen());

    link.writes = {};
    context.loadedFromDevice = true;
    context.storedIndex = {3, std::nullopt, 11, 12};
    EXPECT_EQ(write(), WriteOutcome::Written);
    Writes expected = {"at+cmgd=3\r", "at+cmgd=11\r", "at+cmgd=12\r"};
    expected.insert(expected.end(), NewMessages.begin(), NewMessages.end());
    EXPECT_EQ(link.writes, expected);
    EXPECT_EQ(clock.now(), milliseconds((8 + 11) * 500));
}

TEST_F(SetupFileWriterTest, MissingConfirmationOfAnEarlierMessageFailsTheWrite) {
    refuseMessage = 2;
    EXPECT_EQ(write(), WriteOutcome::Failed);
    EXPECT_EQ(link.writes, NewMessages);
    EXPECT_EQ(statuses.back(), "Loading failed.");
    EXPECT_FALSE(link.isOpen());

    link.onWrite = nullptr;  // a silent module
    EXPECT_EQ(write(), WriteOutcome::Failed);
}

// The typed PIN first, then the tracker's own, then the default; what the dialog holds is
// never the PIN written, and the default is not remembered.
TEST_F(SetupFileWriterTest, TypedPinFirstThenTheTrackersOwnThenTheDefault) {
    file.simPin = "0000";
    for (const auto& [typed, stored, written] :
         {std::tuple{"1357", "2468", "1357"}, {"", "2468", "2468"}, {"", "", "5184"}}) {
        context.simPin = typed;
        context.trackerSimPin = stored;
        link.writes = {};
        write();
        EXPECT_EQ(link.writes.at(1),
                  "0,3,,,,,,,Bus 7,+8.00,2,30,1,," + std::string(written) + "," + End);
        EXPECT_EQ(context.simPin, typed);
    }
}

}  // namespace
}  // namespace kv820
