#include "sim/modem_simulator.h"

#include <gtest/gtest.h>

#include <string>

namespace kv820::sim {
namespace {

const SmsTimestamp kStamp{2007, 5, 12, 10, 20, 30, 32};
const char kReportBody[] = "?354612071234567,1,3,070512,235959,E12130.1234,N2503.1234,100,0,0,8,0!";

TrackerReport sampleReport() {
    return TrackerReport::at("354612071234567", 121.502057, 25.052057, 1336435199);
}

class ModemConversation : public testing::Test {
  protected:
    ModemConversation() {
        modem.setClock([] { return kStamp; });
    }

    void startSession() {
        modem.feed("at+cmgf=1\r");
        modem.feed("at+cnmi=1,1\r");
    }

    ModemSimulator modem;
};

struct Exchange {
    std::string written;
    std::string answered;
};

class ModemCommands : public testing::TestWithParam<Exchange> {};

TEST_P(ModemCommands, AnswerWithEchoAndResultCode) {
    ModemSimulator modem;
    EXPECT_EQ(modem.feed(GetParam().written), GetParam().answered);
}

INSTANTIATE_TEST_SUITE_P(
    Basics, ModemCommands,
    testing::Values(Exchange{"at\r", "at\r\r\nOK\r\n"}, Exchange{"AT\r", "AT\r\r\nOK\r\n"},
                    Exchange{"ati\r", "ati\r\r\nSIEMENS\r\nMC35i\r\nREVISION 02.00\r\n\r\nOK\r\n"},
                    Exchange{"at+cmgf=1\r", "at+cmgf=1\r\r\nOK\r\n"},
                    Exchange{"at+cnmi=1,1\r", "at+cnmi=1,1\r\r\nOK\r\n"},
                    Exchange{"at+bogus\r", "at+bogus\r\r\nERROR\r\n"},
                    Exchange{"tr+fwv\r", "tr+fwv\r\r\nERROR\r\n"}, Exchange{"2", ""},
                    Exchange{"1", ""}, Exchange{"22at\r", "at\r\r\nOK\r\n"}, Exchange{"\r\n", ""},
                    // Text-mode commands before "at+cmgf=1" are refused, as in PDU mode.
                    Exchange{"at+cmgr=1\r", "at+cmgr=1\r\r\n+CMS ERROR: 302\r\n"}));

TEST_F(ModemConversation, EchoCanBeSwitchedOff) {
    EXPECT_EQ(modem.feed("ate0\r"), "ate0\r\r\nOK\r\n");
    EXPECT_EQ(modem.feed("at\r"), "\r\nOK\r\n");
    EXPECT_EQ(modem.feed("ate1\r"), "\r\nOK\r\n");
    EXPECT_EQ(modem.feed("at\r"), "at\r\r\nOK\r\n");
}

TEST_F(ModemConversation, ReportIsAnnouncedOnlyAfterNewMessageIndicationsAreOn) {
    EXPECT_EQ(modem.injectReport(sampleReport()), 1);
    EXPECT_EQ(modem.takeOutput(), "");
    startSession();
    EXPECT_TRUE(modem.sessionOpen());
    EXPECT_EQ(modem.injectReport(sampleReport()), 2);
    EXPECT_EQ(modem.takeOutput(), "\r\n+CMTI: \"SM\",2\r\n");
}

TEST_F(ModemConversation, ReadGivesTheTextModeHeaderTheReportDecoderCountsOn) {
    startSession();
    modem.injectReport(sampleReport());
    modem.takeOutput();
    const std::string reply = modem.feed("at+cmgr=1\r");
    EXPECT_EQ(reply, std::string("at+cmgr=1\r\r\n+CMGR: \"REC UNREAD\",\"+886912345678\",,"
                                 "\"07/05/12,10:20:30+32\"\r\n") +
                         kReportBody + "\r\n\r\nOK\r\n");
    // Cut at every comma, the fourth piece is the quoted date and the fifth starts with
    // the time, as the report decoder expects.
    std::vector<std::string> pieces;
    std::string piece;
    for (char c : reply) {
        if (c == ',') {
            pieces.push_back(piece);
            piece.clear();
        } else {
            piece += c;
        }
    }
    ASSERT_GE(pieces.size(), 5u);
    EXPECT_EQ(pieces[3], "\"07/05/12");
    EXPECT_EQ(pieces[4].substr(0, 8), "10:20:30");
    EXPECT_NE(pieces[4].find("?354612071234567"), std::string::npos);
}

TEST_F(ModemConversation, ReadMarksTheMessageReadAndDeleteFreesTheIndex) {
    startSession();
    modem.injectSms("+15550100", "hello");
    modem.feed("at+cmgr=1\r");
    EXPECT_EQ(modem.storage().find(1)->status, MessageStatus::ReceivedRead);
    EXPECT_EQ(modem.feed("at+cmgd=1\r"), "at+cmgd=1\r\r\nOK\r\n");
    EXPECT_EQ(modem.storage().size(), 0u);
    EXPECT_EQ(modem.feed("at+cmgr=1\r"), "at+cmgr=1\r\r\n+CMS ERROR: 321\r\n");
    EXPECT_EQ(modem.feed("at+cmgd=99\r"), "at+cmgd=99\r\r\n+CMS ERROR: 321\r\n");
    EXPECT_EQ(modem.injectSms("+15550100", "again"), 1);  // the freed index is reused
}

TEST_F(ModemConversation, ListingShowsEveryStoredMessageWithItsStatus) {
    modem.feed("at+cmgf=1\r");
    modem.storeSms("+15550100", "first");
    modem.storeSms("+15550101", "second", MessageStatus::ReceivedRead);
    modem.storage().add(StoredMessage{0, MessageStatus::StoredUnsent, "+15550102", "draft", {}});
    EXPECT_EQ(modem.feed("at+cmgl=\"ALL\"\r"),
              "at+cmgl=\"ALL\"\r\r\n"
              "+CMGL: 1,\"REC UNREAD\",\"+15550100\",,\"07/05/12,10:20:30+32\"\r\nfirst\r\n"
              "+CMGL: 2,\"REC READ\",\"+15550101\",,\"07/05/12,10:20:30+32\"\r\nsecond\r\n"
              "+CMGL: 3,\"STO UNSENT\",\"+15550102\",,\r\ndraft\r\n"
              "\r\nOK\r\n");
    EXPECT_EQ(modem.storage().find(1)->status, MessageStatus::ReceivedRead);
    EXPECT_EQ(modem.feed("at+cmgl=\"REC UNREAD\"\r"), "at+cmgl=\"REC UNREAD\"\r\r\nOK\r\n");
}

TEST_F(ModemConversation, SendPromptsTakesTextUntilCtrlZAndRecordsTheSms) {
    modem.feed("at+cmgf=1\r");
    EXPECT_EQ(modem.feed("at+cmgs=0912345678\r"), "at+cmgs=0912345678\r\r\n> ");
    EXPECT_EQ(modem.feed("?2,354612071234567!\x1a\r"),
              "?2,354612071234567!\r\n+CMGS: 1\r\n\r\nOK\r\n");
    modem.feed("at+cmgs=\"+15550100\"\r");
    modem.feed("?0,354612071234567,1!\x1a\r");
    ASSERT_EQ(modem.sentMessages().size(), 2u);
    EXPECT_EQ(modem.sentMessages()[0], (SentSms{"0912345678", "?2,354612071234567!"}));
    EXPECT_EQ(modem.sentMessages()[1], (SentSms{"+15550100", "?0,354612071234567,1!"}));
}

TEST_F(ModemConversation, TextArrivingInPiecesIsStillOneSms) {
    modem.feed("ate0\r");
    modem.feed("at+cmgf=1\r");
    EXPECT_EQ(modem.feed("at+cmgs=0912345678\r"), "\r\n> ");
    EXPECT_EQ(modem.feed("?2,3546"), "");
    EXPECT_EQ(modem.feed("12071234567!\x1a"), "\r\n+CMGS: 1\r\n\r\nOK\r\n");
    EXPECT_EQ(modem.sentMessages().at(0).text, "?2,354612071234567!");
}

TEST_F(ModemConversation, EscapeCancelsTheSms) {
    modem.feed("at+cmgf=1\r");
    modem.feed("at+cmgs=0912345678\r");
    EXPECT_EQ(modem.feed("never\x1b"), "never\r\nOK\r\n");
    EXPECT_TRUE(modem.sentMessages().empty());
}

TEST_F(ModemConversation, BurstStoresAllThenAnnouncesAllBackToBack) {
    startSession();
    const auto indexes = modem.injectBurst({sampleReport(), sampleReport(), sampleReport()});
    EXPECT_EQ(indexes, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(modem.takeOutput(),
              "\r\n+CMTI: \"SM\",1\r\n\r\n+CMTI: \"SM\",2\r\n\r\n+CMTI: \"SM\",3\r\n");
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

TEST(ModemSession, EndsWhenThePortIsReopenedOrIndicationsAreSwitchedOff) {
    ModemSimulator modem;
    modem.feed("at+cnmi=1,1\r");
    EXPECT_TRUE(modem.sessionOpen());
    modem.portClosed();
    EXPECT_FALSE(modem.sessionOpen());
    EXPECT_TRUE(modem.announcing());  // the modem itself keeps its settings
    modem.feed("at+cnmi=1,1\r");
    modem.feed("at+cnmi=0,0\r");
    EXPECT_FALSE(modem.sessionOpen());
    EXPECT_FALSE(modem.announcing());
}

}  // namespace
}  // namespace kv820::sim
