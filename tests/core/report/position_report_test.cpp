#include "core/report/position_report.h"

#include <gtest/gtest.h>

#include "support/report_reply.h"
#include "support/scoped_time_zone.h"

namespace kv820 {
namespace {

using test::readMessageReply;
using test::reportBody;

constexpr const char* TrackerImei = "356789012345678";

UserRegistry::Snapshot users(std::vector<UserSlot> slots) {
    UserRegistry::Snapshot snapshot;
    for (std::size_t i = 0; i < slots.size(); ++i) {
        snapshot.users[i] = slots[i];
        snapshot.userCount += slots[i].name.empty() ? 0 : 1;
    }
    return snapshot;
}

PositionReport decode(const std::string& body, const UserRegistry::Snapshot& users) {
    return decodePositionReport(splitReportPieces(readMessageReply("5", body)), users);
}

TEST(DecodePositionReport, ARegisteredTrackersReportGivesItsRowInColumnOrder) {
    test::ScopedTimeZone zone("CST-8");
    const PositionReport r =
        decode(reportBody(TrackerImei, "5", "2"), users({{"Truck", "0912345678", TrackerImei}}));
    EXPECT_EQ(r.userName, "Truck");
    EXPECT_EQ(r.phone, "0912345678");
    EXPECT_EQ(r.gpsMomentText(), "2012/05/08-07:59:59");
    EXPECT_EQ(r.receiveMomentText(), "2007/05/12-10:20:30");
    const GpslogRow expected = {TrackerImei,  "2007/05/12", "10:20:30",  "25.052057", "121.502057",
                                "2012/05/08", "07:59:59",   "2D",        "120",       "18.5200",
                                "270",        "8",          "SOS report"};
    EXPECT_EQ(toGpslogRow(r), expected);
}

TEST(DecodePositionReport, UnregisteredTrackerGivesEmptyUserFields) {
    const PositionReport r =
        decode(reportBody(TrackerImei), users({{"Truck", "0912345678", "351111111111111"}}));
    EXPECT_EQ(r.imei + r.userName + r.phone, "");
    EXPECT_EQ(r.messageStatus, "Period report");
}

TEST(DecodePositionReport, ShortOrHeaderlessRepliesStayInsideTheirPieces) {
    test::ScopedTimeZone zone("CST-8");
    const PositionReport r = decode(std::string("?") + TrackerImei + ",0!", users({}));
    EXPECT_EQ(r.messageStatus + '|' + r.gpsStatus + '|' + r.gpsMomentText() + '|' + r.gpsPosLon +
                  '|' + r.gpsSpeed + '|' + r.gpsNumber,
              "Immediate report||2000/00/00-00:00:00|-0.000000|0.0000|");

    const PositionReport bare = decodePositionReport(splitReportPieces("?35!"), users({}));
    EXPECT_EQ(bare.receiveDate + '|' + bare.receiveTime + '|' + bare.messageStatus, "20||");
}

TEST(FindReportOwner, PicksTheFirstSlotWhoseImeiOccursInThePiece) {
    const std::string piece = "10:20:30+32\"\r\n?356789012345678";
    struct Case {
        std::vector<UserSlot> slots;
        const char* owner;  // "" when no slot matches
    };
    const std::vector<Case> cases{
        {{{"A", "1", "351111111111111"}}, ""},
        // All five slots are tried, also past free ones.
        {{{"A", "1", "351111111111111"}, {}, {}, {}, {"E", "5", TrackerImei}}, "E"},
        // A substring search: a shorter registered IMEI inside the report's one matches.
        {{{"A", "1", "6789"}, {"B", "2", TrackerImei}}, "A"},
        // A slot without an IMEI would occur in every piece: it never matches.
        {{{"A", "1", ""}, {"B", "2", TrackerImei}}, "B"},
    };
    for (const Case& c : cases) {
        const auto owner = findReportOwner(piece, users(c.slots));
        EXPECT_EQ(owner ? owner->name : "", c.owner);
    }
    EXPECT_FALSE(findReportOwner("", users({{"A", "1", TrackerImei}})));
}

}  // namespace
}  // namespace kv820
