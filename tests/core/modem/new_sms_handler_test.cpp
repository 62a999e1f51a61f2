#include "core/modem/new_sms_handler.h"

#include <gtest/gtest.h>

#include "core/store/database.h"
#include "core/store/gpslog_store.h"
#include "support/fake_serial_link.h"
#include "support/report_reply.h"
#include "support/scoped_time_zone.h"
#include "support/temp_database_file.h"
#include "support/virtual_clock.h"

namespace kv820 {
namespace {

using test::FakeSerialLink;
using test::ReadMessageReply;
using test::ReportBody;
using test::VirtualClock;
using Kind = NewSmsOutcome::Kind;

constexpr const char* TrackerImei = "356789012345678";
const std::string DeleteReply = "at+cmgd=5\r\r\nOK\r\n";

int CountRows(const std::string& path) {
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

    NewSmsOutcome process(const std::string& line = "+CMTI: \"SM\",5\r\n") {
        NewSmsContext context{port, users, storeInUse,
                              [this](std::string_view text) { log.append(text); }};
        return ProcessNewSms(line, context);
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
};

TEST_F(ProcessNewSmsTest, StoresTheReportBeforeDeletingIt) {
    const std::string reply = ReadMessageReply("5", ReportBody(TrackerImei));
    link.replyTo("at+cmgr=5\r", reply);
    link.replyTo("at+cmgd=5\r", DeleteReply);
    int rowsWhenDeleted = -1;
    link.onWrite = [&](FakeSerialLink&, std::string_view bytes) {
        if (bytes.starts_with("at+cmgd=")) {
            rowsWhenDeleted = CountRows(file.path());  // another connection sees it committed
        }
    };

    const NewSmsOutcome outcome = process();

    EXPECT_EQ(link.writes, (std::vector<std::string>{"at+cmgr=5\r", "at+cmgd=5\r"}));
    EXPECT_EQ(rowsWhenDeleted, 1);
    EXPECT_EQ(outcome.kind, Kind::ReportStored);
    EXPECT_EQ(outcome.index, "5");
    ASSERT_TRUE(outcome.report.has_value());
    EXPECT_EQ(outcome.report->userName, "Truck");
    EXPECT_EQ(log, reply + "\r\n" + DeleteReply + "\r\n");
    const auto rows = store.newestFirst({TrackerImei, "", "~"}, std::nullopt, 10);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].row, ToGpslogRow(*outcome.report));
}

// A report of another tracker family is no report either.
TEST_F(ProcessNewSmsTest, DeletesAWholeNonReportWithoutStoring) {
    for (const std::string& body :
         {std::string("Hello from the operator"), ReportBody("866789012345678")}) {
        const std::string reply = ReadMessageReply("5", body);
        link.replyTo("at+cmgr=5\r", reply);
        link.replyTo("at+cmgd=5\r", DeleteReply);
        log.clear();
        EXPECT_EQ(process().kind, Kind::NonReportDeleted);
        EXPECT_EQ(link.writes.back(), "at+cmgd=5\r");
        EXPECT_EQ(log, reply + "\r\n" + DeleteReply + "\r\n");
    }
    EXPECT_EQ(link.writes.size(), 4u);
    EXPECT_EQ(CountRows(file.path()), 0);
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
    EXPECT_EQ(CountRows(file.path()), 0);
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
        KeptCase{"report_without_a_database", ReadMessageReply("5", ReportBody(TrackerImei)),
                 Kind::StoreFailed,
                 "SMS 5 is a report that could not be stored (no database connection); it "
                 "stays in the modem.\r\n",
                 false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProcessNewSmsTest, UnregisteredTrackerIsStoredWithAnEmptyImei) {
    users.replace({});
    link.replyTo("at+cmgr=5\r", ReadMessageReply("5", ReportBody(TrackerImei)));
    link.replyTo("at+cmgd=5\r", DeleteReply);
    EXPECT_EQ(process().kind, Kind::ReportStored);
    EXPECT_EQ(store.newestFirst({"", "", "~"}, std::nullopt, 10).size(), 1u);
}

}  // namespace
}  // namespace kv820
