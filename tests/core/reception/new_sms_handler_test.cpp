#include "core/reception/new_sms_handler.h"

#include <gtest/gtest.h>

#include "core/store/database.h"
#include "core/store/gpslog_store.h"
#include "sim/pdu_format.h"
#include "support/fake_serial_link.h"
#include "support/report_reply.h"
#include "support/scoped_time_zone.h"
#include "support/temp_database_file.h"
#include "support/virtual_clock.h"

namespace kv820 {
namespace {

using test::FakeSerialLink;
using test::readMessageReply;
using test::reportBody;
using test::VirtualClock;
using Kind = NewSmsOutcome::Kind;

constexpr const char* TrackerImei = "356789012345678";
const std::string DeleteReply = "at+cmgd=5\r\r\nOK\r\n";

int countRows(const std::string& path) {
    Database db(path);
    int rows = 0;
    GpslogStore(db).forEachOldestFirst({TrackerImei, "", "~"}, [&](const GpslogRow&) {
        ++rows;
        return true;
    });
    return rows;
}

class ProcessNewSmsTest : public ::testing::Test {
  protected:
    ProcessNewSmsTest() : link(clock), port(link, clock), db(file.path()), store(db) {
        users.replace({{"Truck", "0912345678", TrackerImei}});
        port.OpenComPort("ttyFake:");
    }

    NewSmsContext context() {
        return NewSmsContext{
            port, users,   storeInUse, [this](std::string_view text) { log.append(text); },
            mode, &stores, &parts};
    }

    NewSmsOutcome process(MessagePlace place = {"SM", 5}) {
        NewSmsContext handling = context();
        return ProcessNewSms(std::move(place), handling);
    }

    test::ScopedTimeZone zone{"CST-8"};
    test::TempDatabaseFile file;
    VirtualClock clock;
    FakeSerialLink link;
    ComPort port;
    Database db;
    GpslogStore store;
    GpslogStore* storeInUse = &store;
    UserRegistry users;
    std::string log;
    MessageMode mode = MessageMode::Text;
    MessageStores stores{"SM", {"SM", "ME"}, "SM"};
    ConcatenatedMessages parts;
};

TEST_F(ProcessNewSmsTest, StoresTheReportBeforeDeletingIt) {
    const std::string reply = readMessageReply("5", reportBody(TrackerImei));
    link.replyTo("at+cmgr=5\r", reply);
    link.replyTo("at+cmgd=5\r", DeleteReply);
    int rowsWhenDeleted = -1;
    link.onWrite = [&](FakeSerialLink&, std::string_view bytes) {
        if (bytes.starts_with("at+cmgd=")) {
            rowsWhenDeleted = countRows(file.path());  // another connection sees it committed
        }
    };

    const NewSmsOutcome outcome = process();

    EXPECT_EQ(link.writes, (std::vector<std::string>{"at+cmgr=5\r", "at+cmgd=5\r"}));
    EXPECT_EQ(rowsWhenDeleted, 1);
    EXPECT_EQ(outcome.kind, Kind::ReportStored);
    EXPECT_EQ(outcome.index, 5);
    ASSERT_TRUE(outcome.report.has_value());
    EXPECT_EQ(outcome.report->userName, "Truck");
    EXPECT_EQ(log, reply + "\r\n" + DeleteReply + "\r\n");
    const auto rows = store.newestFirst({TrackerImei, "", "~"}, std::nullopt, 10);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].row, toGpslogRow(*outcome.report));
}

// A report of another tracker family is no report either.
TEST_F(ProcessNewSmsTest, DeletesAWholeNonReportWithoutStoring) {
    for (const std::string& body :
         {std::string("Hello from the operator"), reportBody("866789012345678")}) {
        const std::string reply = readMessageReply("5", body);
        link.replyTo("at+cmgr=5\r", reply);
        link.replyTo("at+cmgd=5\r", DeleteReply);
        log.clear();
        EXPECT_EQ(process().kind, Kind::NonReportDeleted);
        EXPECT_EQ(link.writes.back(), "at+cmgd=5\r");
        EXPECT_EQ(log, reply + "\r\n" + DeleteReply + "\r\n");
    }
    EXPECT_EQ(link.writes.size(), 4u);
    EXPECT_EQ(countRows(file.path()), 0);
}

struct KeptCase {
    const char* name;
    std::string reply;
    Kind kind;
    const char* logTail;
    bool database = true;
};

class ProcessNewSmsKeptTest : public ProcessNewSmsTest,
                              public ::testing::WithParamInterface<KeptCase> {};

TEST_P(ProcessNewSmsKeptTest, LeavesTheSmsInTheModemAndSaysSo) {
    link.replyTo("at+cmgr=5\r", GetParam().reply);
    storeInUse = GetParam().database ? &store : nullptr;
    const NewSmsOutcome outcome = process();
    EXPECT_EQ(outcome.kind, GetParam().kind);
    EXPECT_EQ(link.writes, (std::vector<std::string>{"at+cmgr=5\r"}));
    EXPECT_EQ(log, GetParam().reply + "\r\n" + GetParam().logTail);
    EXPECT_EQ(countRows(file.path()), 0);
}

const char* const NotRead = "SMS 5 was not read completely; it stays in the modem.\r\n";

INSTANTIATE_TEST_SUITE_P(
    Replies, ProcessNewSmsKeptTest,
    ::testing::Values(
        KeptCase{"silence", "", Kind::UnreadKept, NotRead},
        // An "OK" alone may be a stale one: only the message itself proves the read.
        KeptCase{"ok_without_the_message", "at+cmgr=5\r\r\nOK\r\n", Kind::UnreadKept, NotRead},
        // A refused read says nothing about the message: a busy SIM must not cost a report.
        KeptCase{"cms_error", "at+cmgr=5\r\r\n+CMS ERROR: 314\r\n", Kind::ReadRefusedKept,
                 "SMS 5 could not be read; it stays in the modem.\r\n"},
        KeptCase{"report_without_a_database", readMessageReply("5", reportBody(TrackerImei)),
                 Kind::StoreFailed,
                 "SMS 5 is a report that could not be stored (no database connection); it "
                 "stays in the modem.\r\n",
                 false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProcessNewSmsTest, UnregisteredTrackerIsStoredWithAnEmptyImei) {
    users.replace({});
    link.replyTo("at+cmgr=5\r", readMessageReply("5", reportBody(TrackerImei)));
    link.replyTo("at+cmgd=5\r", DeleteReply);
    EXPECT_EQ(process().kind, Kind::ReportStored);
    EXPECT_EQ(store.newestFirst({"", "", "~"}, std::nullopt, 10).size(), 1u);
}

// The read reply of a PDU-mode modem for a message the simulated network delivered.
std::string pduReadReply(const std::string& index, sim::DeliverPduFields fields) {
    const std::string pdu = sim::deliverPdu(fields);
    return "at+cmgr=" + index + "\r\r\n+CMGR: 0,," + std::to_string(sim::tpduOctets(pdu)) + "\r\n" +
           pdu + "\r\n\r\nOK\r\n";
}

sim::DeliverPduFields delivered(const std::string& text,
                                std::optional<ConcatenatedPart> part = std::nullopt) {
    // The stamp of readMessageReply's default: 07/05/12,10:20:30+32.
    return {
        "+886912345678", {2007, 5, 12, 10, 20, 30, 32}, text, sim::PduEncoding::Automatic, part};
}

TEST_F(ProcessNewSmsTest, AReportReadAsAPduGivesTheRowOfTheSameReportInTextMode) {
    link.replyTo("at+cmgr=5\r", readMessageReply("5", reportBody(TrackerImei)));
    link.replyTo("at+cmgd=5\r", DeleteReply, 2);
    const NewSmsOutcome text = process();
    ASSERT_EQ(text.kind, Kind::ReportStored);

    mode = MessageMode::Pdu;
    link.replyTo("at+cmgr=5\r", pduReadReply("5", delivered(reportBody(TrackerImei))));
    log.clear();
    const NewSmsOutcome pdu = process();

    // The equal row is found: the same report in either mode is one row.
    EXPECT_EQ(pdu.kind, Kind::ReportAlreadyStored);
    EXPECT_EQ(toGpslogRow(*pdu.report), toGpslogRow(*text.report));
    EXPECT_NE(
        log.find("From +886912345678 at 07/05/12,10:20:30+32: " + reportBody(TrackerImei) + "\r\n"),
        std::string::npos)
        << log;
}

struct PduCase {
    const char* name;
    std::string reply;
    Kind kind;
    bool deleted;
};

class ProcessPduTest : public ProcessNewSmsTest, public ::testing::WithParamInterface<PduCase> {};

TEST_P(ProcessPduTest, DeletesOnlyWhatIsSurelyNoReport) {
    mode = MessageMode::Pdu;
    link.replyTo("at+cmgr=5\r", GetParam().reply);
    link.replyTo("at+cmgd=5\r", DeleteReply);
    EXPECT_EQ(process().kind, GetParam().kind);
    EXPECT_EQ(link.writes.back() == "at+cmgd=5\r", GetParam().deleted);
    EXPECT_EQ(countRows(file.path()), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Pdus, ProcessPduTest,
    ::testing::Values(PduCase{"plain_text", pduReadReply("5", delivered("Hello")),
                              Kind::NonReportDeleted, true},
                      PduCase{"status_report",
                              "at+cmgr=5\r\r\n+CMGR: 0,,26\r\n" +
                                  sim::statusReportPdu({7,
                                                        "+886912345678",
                                                        {2007, 5, 12, 10, 20, 30, 32},
                                                        {2007, 5, 12, 10, 20, 40, 32}}) +
                                  "\r\n\r\nOK\r\n",
                              Kind::NonReportDeleted, true},
                      PduCase{"not_a_pdu", "at+cmgr=5\r\r\n+CMGR: 0,,9\r\n0791FFZZ\r\n\r\nOK\r\n",
                              Kind::UndecodableKept, false},
                      PduCase{"report_cut_short", pduReadReply("5", delivered("?35,1,3,070512")),
                              Kind::PartialReportKept, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProcessNewSmsTest, AMessageInAnotherStoreIsReadAndDeletedThereThenReadsGoBack) {
    link.replyTo("at+cpms=\"ME\"\r", "\r\n+CPMS: 1,100,0,30,0,30\r\n\r\nOK\r\n");
    link.replyTo("at+cmgr=3\r", readMessageReply("3", reportBody(TrackerImei)));
    link.replyTo("at+cmgd=3\r", "\r\nOK\r\n");
    link.replyTo("at+cpms=\"SM\"\r", "\r\n+CPMS: 0,30,0,30,0,30\r\n\r\nOK\r\n");

    EXPECT_EQ(process({"ME", 3}).kind, Kind::ReportStored);
    EXPECT_EQ(link.writes, (std::vector<std::string>{"at+cpms=\"ME\"\r", "at+cmgr=3\r",
                                                     "at+cmgd=3\r", "at+cpms=\"SM\"\r"}));
    EXPECT_EQ(stores.selected, "SM");

    // A store the modem will not select is not read: the index would name another message.
    link.writes.clear();
    link.replyTo("at+cpms=\"ME\"\r", "\r\n+CMS ERROR: 302\r\n");
    EXPECT_EQ(process({"ME", 4}).kind, Kind::ReadRefusedKept);
    EXPECT_EQ(link.writes, std::vector<std::string>{"at+cpms=\"ME\"\r"});
}

TEST_F(ProcessNewSmsTest, PartsOfALongerReportWaitInTheModemAndAreStoredAsOne) {
    mode = MessageMode::Pdu;
    const std::string body = reportBody(TrackerImei);
    const std::size_t half = body.size() / 2;
    link.replyTo("at+cmgr=5\r", pduReadReply("5", delivered(body.substr(half), {{200, 2, 2}})));
    link.replyTo("at+cmgr=6\r", pduReadReply("6", delivered(body.substr(0, half), {{200, 2, 1}})));
    link.replyTo("at+cmgd=6\r", "\r\nOK\r\n");
    link.replyTo("at+cmgd=5\r", DeleteReply);

    EXPECT_EQ(process({"SM", 5}).kind, Kind::PartKept);
    const NewSmsOutcome whole = process({"SM", 6});

    EXPECT_EQ(whole.kind, Kind::ReportStored);
    EXPECT_EQ(whole.report->userName, "Truck");
    EXPECT_EQ(link.writes, (std::vector<std::string>{"at+cmgr=5\r", "at+cmgr=6\r", "at+cmgd=6\r",
                                                     "at+cmgd=5\r"}));
    EXPECT_EQ(countRows(file.path()), 1);
}

// A part whose rest never comes: deleted when it is surely no report, kept otherwise.
TEST_F(ProcessNewSmsTest, APartWhoseRestNeverComesIsHandledAsItIsAfterItsWait) {
    mode = MessageMode::Pdu;
    link.replyTo("at+cmgr=5\r", pduReadReply("5", delivered("Hello, this is", {{9, 2, 1}})));
    link.replyTo("at+cmgr=6\r", pduReadReply("6", delivered("?35,1,3,0", {{10, 3, 1}})));
    link.replyTo("at+cmgd=5\r", DeleteReply);
    EXPECT_EQ(process({"SM", 5}).kind, Kind::PartKept);
    EXPECT_EQ(process({"SM", 6}).kind, Kind::PartKept);
    NewSmsContext handling = context();
    EXPECT_TRUE(processOverdueParts(handling).empty());

    clock.advance(ConcatenatedMessages::PartWait + std::chrono::seconds(1));
    std::vector<Kind> kinds;
    for (const NewSmsOutcome& outcome : processOverdueParts(handling)) {
        kinds.push_back(outcome.kind);
    }
    std::sort(kinds.begin(), kinds.end());
    EXPECT_EQ(kinds, (std::vector<Kind>{Kind::NonReportDeleted, Kind::PartialReportKept}));
    EXPECT_EQ(link.writes.back(), "at+cmgd=5\r");
    EXPECT_TRUE(parts.empty());
}

}  // namespace
}  // namespace kv820
