#include "core/setup/setup_message_codec.h"

#include <gtest/gtest.h>

#include "support/setup_file_printer.h"
#include "support/tracker_replies.h"

namespace kv820 {
namespace {

using test::storedMessageReply;

SetupMessageReplies repliesFor(const SetupMessageTexts& texts) {
    SetupMessageReplies replies;
    for (int k = 1; k <= 4; ++k) {
        replies[k - 1] = storedMessageReply(20 + k, k, texts[k - 1]);
    }
    return replies;
}

SetupFile everyFieldSet() {
    SetupFile file;
    file.defaultReturnEnabled = true;
    file.maxGpsFixingTime = 10;
    file.userName = "Truck 12";
    file.timeZoneOn = false;
    file.reportMode = ReportMode::Period;
    file.reportInterval = "86400";
    file.reportFormat = 0;
    file.numberOfReports = "250";
    file.simPin = "12345678";
    file.sosNumbers = {"+886912345678", "0912000111", "110"};
    file.defaultReturnPhone = "+15550001";
    file.reportReturnPhone = "0922333444";
    return file;
}

TEST(SetupMessageCodec, EveryFieldEncodesInItsPlace) {
    const SetupMessageTexts texts = EncodeSetupFile(everyFieldSet(), "+5.50");
    EXPECT_EQ(texts[0], "1,10,,,,,,,Truck 12,-0.00,1,86400,0,250,12345678,");
    EXPECT_EQ(texts[1], "+886912345678,0912000111,110,+15550001,0922333444,,,");
}

// The user name reads back empty: the dialog shows the registered name instead.
TEST(SetupMessageCodec, ReadBackRestoresEveryControlButTheUserName) {
    SetupFile defaults, zoneOff;
    defaults.simPin = zoneOff.simPin = "5184";
    zoneOff.timeZoneOn = false;
    for (const SetupFile& file : {everyFieldSet(), defaults, zoneOff}) {
        SetupFile expected = file;
        expected.userName.clear();
        EXPECT_EQ(readSetupFile(repliesFor(EncodeSetupFile(file, "+5.50"))), expected);
    }
}

TEST(SetupMessageCodec, DecodesTheMessageTextUpToTheFinalOkOnly) {
    SetupFile file = everyFieldSet();
    file.userName = "OKAY";
    const std::vector<std::string> fields =
        DecodeSetupMessage(storedMessageReply(1, 1, EncodeSetupFile(file, "+8.00")[0]), 1);
    EXPECT_EQ(fields[8] + '|' + fields[14], "OKAY|12345678");
    // A short message: fields beyond it stay empty, the result is no field.
    EXPECT_EQ(DecodeSetupMessage(storedMessageReply(1, 2, "+886,0912"), 2),
              (std::vector<std::string>{"+886", "0912", "", "", "", "", ""}));
    EXPECT_EQ(DecodeSetupMessage("at+cmgr=9\r\r\n+CMS ERROR: 321\r\n", 4),
              (std::vector<std::string>{""}));
    // A reply cut off before its result keeps what arrived.
    const std::vector<std::string> cut =
        DecodeSetupMessage("at+cmgr=4\r\r\n+CMGR: \"STO UNSENT\",\"+1\",\r\n1,7,,,,,,,Bus,+8.", 1);
    EXPECT_EQ(cut[8] + '|' + cut[9] + '|' + cut[10], "Bus|+8.|");
    // An overlong piece is cut to the field limit and the next field stays in its place.
    const std::vector<std::string> overlong = DecodeSetupMessage(
        storedMessageReply(1, 1, "0,3,,,,,,," + std::string(300, 'x') + ",+8.00,2,"), 1);
    EXPECT_EQ(overlong[8] + '|' + overlong[9], std::string(MaxSetupFieldLength, 'x') + "|+8.00");
}

struct ChoiceCase {
    std::string message1;
    SetupFile expected;
};

SetupFile with(void (*change)(SetupFile&)) {
    SetupFile file;
    change(file);
    return file;
}

TEST(ChoiceFields, OnlyValuesThatNameAnEntryChangeTheDialog) {
    const ChoiceCase cases[] = {
        // The check box reads 0 or 1 and brings the default return number with it.
        ChoiceCase("1,3,,,,,,,,,2,30,1,,,", with([](SetupFile& f) {
                       f.defaultReturnEnabled = true, f.defaultReturnPhone = "+123",
                       f.reportInterval = "30";
                   })),
        ChoiceCase("0,3,,,,,,,,,2,30,1,,,",
                   with([](SetupFile& f) { f.defaultReturnPhone = "+123"; })),
        // Any other value leaves box and number untouched.
        ChoiceCase("2,3,,,,,,,,,2,30,1,,,", SetupFile{}),
        // Fixing time 1 to 10, mode 0 to 2, format 0 to 1; outside keeps the default.
        ChoiceCase("5,1,,,,,,,,,0,30,0,,,", with([](SetupFile& f) {
                       f.maxGpsFixingTime = 1, f.reportMode = ReportMode::Immediate,
                       f.reportFormat = 0;
                   })),
        // Texts are copied as they are, the empty text included.
        ChoiceCase("5,11,,,,,,,,,3,30,2,,,", SetupFile{}),
        ChoiceCase("5,3,,,,,,,,,2,,1,7,,",
                   with([](SetupFile& f) { f.reportInterval = "", f.numberOfReports = "7"; })),
        // Only the off text turns the time zone off.
        ChoiceCase("5,3,,,,,,,,-0.00,2,30,1,,,", with([](SetupFile& f) { f.timeZoneOn = false; })),
        ChoiceCase("5,3,,,,,,,,-5.00,2,30,1,,,", SetupFile{})};
    for (const ChoiceCase& c : cases) {
        SetupMessageReplies replies;
        replies[0] = storedMessageReply(1, 1, c.message1);
        replies[1] = storedMessageReply(2, 2, ",,,+123,,,,");
        EXPECT_EQ(readSetupFile(replies), c.expected) << c.message1;
    }
}

}  // namespace
}  // namespace kv820
