#include "core/modem/position_report.h"

#include <gtest/gtest.h>

#include "core/modem/report_owner.h"
#include "core/modem/report_reply.h"
#include "support/scoped_time_zone.h"

namespace kv820 {
namespace {

using test::ReadMessageReply;
using test::ReportBody;

constexpr const char* TrackerImei = "356789012345678";

UserRegistry::Snapshot Users(std::initializer_list<UserSlot> slots) {
    UserRegistry::Snapshot snapshot;
    std::size_t i = 0;
    for (const UserSlot& slot : slots) {
        snapshot.users[i++] = slot;
        if (!slot.name.empty()) {
            ++snapshot.userCount;
        }
    }
    return snapshot;
}

TEST(DecodePositionReport, DecodesEveryValueOfARegisteredTrackersReport) {
    test::ScopedTimeZone zone("CST-8");
    const auto users = Users({{"Truck", "0912345678", TrackerImei}});
    const PositionReport r = DecodePositionReport(
        SplitReportPieces(ReadMessageReply("5", ReportBody(TrackerImei))), users);
    EXPECT_EQ(r.imei, TrackerImei);
    EXPECT_EQ(r.userName, "Truck");
    EXPECT_EQ(r.phone, "0912345678");
    EXPECT_EQ(r.receiveDate, "2007/05/12");
    EXPECT_EQ(r.receiveTime, "10:20:30");
    EXPECT_EQ(r.kindText, "Period report");
    EXPECT_EQ(r.fixText, "3D");
    EXPECT_EQ(r.gpsDate, "2012/05/08");
    EXPECT_EQ(r.gpsTime, "07:59:59");
    EXPECT_EQ(r.longitude, "121.502057");
    EXPECT_EQ(r.latitude, "25.052057");
    EXPECT_EQ(r.altitude, "120");
    EXPECT_EQ(r.speed, "18.5200");
    EXPECT_EQ(r.direction, "270");
    EXPECT_EQ(r.satellites, "8");
    EXPECT_EQ(r.gpsMomentText(), "2012/05/08-07:59:59");
    EXPECT_EQ(r.receiveMomentText(), "2007/05/12-10:20:30");
}

TEST(DecodePositionReport, RowHoldsTheValuesInColumnOrder) {
    test::ScopedTimeZone zone("UTC0");
    const auto users = Users({{"Truck", "0912345678", TrackerImei}});
    const PositionReport r = DecodePositionReport(
        SplitReportPieces(ReadMessageReply("5", ReportBody(TrackerImei, "5", "2"))), users);
    const GpslogRow expected = {TrackerImei,  "2007/05/12", "10:20:30",  "25.052057", "121.502057",
                                "2012/05/07", "23:59:59",   "2D",        "120",       "18.5200",
                                "270",        "8",          "SOS report"};
    EXPECT_EQ(ToGpslogRow(r), expected);
}

TEST(DecodePositionReport, UnregisteredTrackerGivesEmptyUserFields) {
    const auto users = Users({{"Truck", "0912345678", "351111111111111"}});
    const PositionReport r = DecodePositionReport(
        SplitReportPieces(ReadMessageReply("5", ReportBody(TrackerImei))), users);
    EXPECT_EQ(r.imei, "");
    EXPECT_EQ(r.userName, "");
    EXPECT_EQ(r.phone, "");
    EXPECT_EQ(r.kindText, "Period report");
}

TEST(DecodePositionReport, ShortBodyLeavesMissingFieldsEmptyOrZero) {
    test::ScopedTimeZone zone("CST-8");
    const PositionReport r = DecodePositionReport(
        SplitReportPieces(ReadMessageReply("5", std::string("?") + TrackerImei + ",0!")),
        Users({}));
    EXPECT_EQ(r.kindText, "Immediate report");
    EXPECT_EQ(r.fixText, "");
    EXPECT_EQ(r.gpsDate, "2000/00/00");
    EXPECT_EQ(r.gpsTime, "00:00:00");
    EXPECT_EQ(r.longitude, "-0.000000");
    EXPECT_EQ(r.latitude, "-0.000000");
    EXPECT_EQ(r.altitude, "");
    EXPECT_EQ(r.speed, "0.0000");
    EXPECT_EQ(r.direction, "");
    EXPECT_EQ(r.satellites, "");
}

TEST(DecodePositionReport, ReplyWithoutHeaderStaysInsideItsPieces) {
    const PositionReport r = DecodePositionReport(SplitReportPieces("?35!"), Users({}));
    EXPECT_EQ(r.receiveDate, "20");
    EXPECT_EQ(r.receiveTime, "");
    EXPECT_EQ(r.kindText, "");
}

struct OwnerCase {
    const char* name;
    std::vector<UserSlot> slots;
    const char* piece;
    const char* expectedName;  // "" when no slot matches
};

class FindReportOwnerTest : public ::testing::TestWithParam<OwnerCase> {};

TEST_P(FindReportOwnerTest, PicksTheFirstSlotWhoseImeiOccursInThePiece) {
    UserRegistry::Snapshot snapshot;
    for (std::size_t i = 0; i < GetParam().slots.size(); ++i) {
        snapshot.users[i] = GetParam().slots[i];
    }
    const auto owner = FindReportOwner(GetParam().piece, snapshot);
    EXPECT_EQ(owner ? owner->name : "", GetParam().expectedName);
}

constexpr const char* Piece = "10:20:30+32\"\r\n?356789012345678";

INSTANTIATE_TEST_SUITE_P(
    Rules, FindReportOwnerTest,
    ::testing::Values(
        OwnerCase{"exact", {{"A", "1", "356789012345678"}}, Piece, "A"},
        OwnerCase{"none", {{"A", "1", "351111111111111"}}, Piece, ""},
        OwnerCase{"later slot",
                  {{"A", "1", "351111111111111"}, {"B", "2", "356789012345678"}},
                  Piece,
                  "B"},
        // The test is a substring search: a shorter registered IMEI inside the
        // report's IMEI matches, and the first such slot wins.
        OwnerCase{"first of two", {{"A", "1", "6789"}, {"B", "2", "356789012345678"}}, Piece, "A"},
        // A slot without an IMEI would occur in every piece: it never matches.
        OwnerCase{
            "empty imei skipped", {{"A", "1", ""}, {"B", "2", "356789012345678"}}, Piece, "B"},
        OwnerCase{"only empty slots", {}, Piece, ""},
        // All five slots are tried, also past a free one.
        OwnerCase{"after a free slot",
                  {{"A", "1", "351111111111111"},
                   {"", "", ""},
                   {"", "", ""},
                   {"", "", ""},
                   {"E", "5", "356789012345678"}},
                  Piece,
                  "E"},
        OwnerCase{"empty piece", {{"A", "1", "356789012345678"}}, "", ""}),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& c : name) {
            if (c == ' ') {
                c = '_';
            }
        }
        return name;
    });

}  // namespace
}  // namespace kv820
