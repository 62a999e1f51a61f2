// The texts a report SMS is cut into and what each piece becomes in the stored row.
#include "core/report/report_fields.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/report/gps_moment.h"
#include "core/report/report_pieces.h"
#include "support/scoped_time_zone.h"
#include "support/this_system.h"

namespace kv820 {
namespace {

struct FieldCase {
    std::function<std::string(std::string_view)> decode;
    const char* piece;
    const char* expected;
};

TEST(ReportFields, EachPieceBecomesItsColumnText) {
    const std::vector<FieldCase> cases{
        {reportKindText, "1", "Period report"},
        {reportKindText, "5", "SOS report"},
        {reportKindText, "2", ""},
        {reportKindText, "", ""},  // no number is an unknown code, not 0
        {reportKindText, "4294967296", ""},
        {fixText, "3", "3D"},
        {fixText, "0", ""},
        {fixText, " 3", "3D"},
        // Degrees and minutes to signed degrees; only 'E' and 'N' are positive.
        {longitudeText, "E12130.1234", "121.502057"},
        {longitudeText, "W07412.3", "-74.205000"},
        {longitudeText, "e12130.1234", "-121.502057"},
        {longitudeText, "W-0741", "-0.273333"},  // a sign in the digits is not read
        {latitudeText, "S3330.5", "-33.508333"},
        {latitudeText, "", "-0.000000"},
        // Knots to km/h.
        {speedText, "10", "18.5200"},
        {speedText, ".5", "0.9260"},
        {speedText, "12.34kn", "22.8537"},
        {speedText, "abc", "0.0000"},
        {receiveDateText, "\"07/05/12", "2007/05/12"},
        {receiveDateText, "", "20"},
        {receiveTimeText, "10:20:30+32\"\r\n?356789012345678", "10:20:30"},
    };
    for (const FieldCase& c : cases) {
        EXPECT_EQ(c.decode(c.piece), c.expected) << '"' << c.piece << '"';
    }
}

TEST(SplitReportPieces, CutsAtCommasUpToTheEndMarkOrKeepsTheWholeTextWithout) {
    const ReportPieces p = splitReportPieces("a,,c!d,e");
    EXPECT_TRUE(p.hasEndMark);
    EXPECT_EQ((std::vector<std::string>{p[0], p[1], p[2], p[3]}),
              (std::vector<std::string>{"a", "", "c", ""}));
    const ReportPieces many = splitReportPieces("0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17!");
    EXPECT_EQ(many[15], "15");
    const ReportPieces cut = splitReportPieces("a," + std::string(300, 'x') + ",b!");
    EXPECT_EQ(cut[1] + cut[2], std::string(ReportPieces::MaxPieceLength, 'x') + "b");
    const ReportPieces open = splitReportPieces("a,b\r\nOK\r\n");
    EXPECT_FALSE(open.hasEndMark);
    EXPECT_EQ(open[1], "b\r\nOK\r\n");
}

struct MomentCase {
    const char* zone;
    const char* datePiece;
    const char* timePiece;
    const char* date;
    const char* time;
};

TEST(GpsLocalMoment, ConvertsUtcToTheZoneRulesOfThatMoment) {
    const std::vector<MomentCase> cases{
        {"CST-8", "070512", "235959", "2012/05/08", "07:59:59"},  // the date moves
        {"CST-8", "311212", "200000", "2013/01/01", "04:00:00"},
        {"CST-8", "280213", "200000", "2013/03/01", "04:00:00"},
        {"EST5EDT,M3.2.0,M11.1.0", "150112", "120000", "2012/01/15", "07:00:00"},
        {"EST5EDT,M3.2.0,M11.1.0", "010712", "120000", "2012/07/01", "08:00:00"},
        // Both sides of the spring change in New York (07:00 UTC on 11 March 2012).
        {"EST5EDT,M3.2.0,M11.1.0", "110312", "065959", "2012/03/11", "01:59:59"},
        {"EST5EDT,M3.2.0,M11.1.0", "110312", "070000", "2012/03/11", "03:00:00"},
        // No calendar moment: stored as it came, whatever the zone.
        {"CST-8", "000000", "000000", "2000/00/00", "00:00:00"},
        {"CST-8", "", "", "2000/00/00", "00:00:00"},
        {"CST-8", "290213", "120000", "2013/02/29", "12:00:00"},
        {"CST-8", "070512", "240000", "2012/05/07", "24:00:00"},
        {"CST-8", "0705", "1200", "2000/00/00", "00:00:00"},
        // Every field saturates at the 32-bit bounds and the arithmetic does not wrap.
        {"CST-8", "99999999999999", "-99999999999999", "2147485647/00/00", "-429496:00:2147483647"},
    };
    for (const MomentCase& c : cases) {
        test::ScopedTimeZone zone(c.zone);
        const GpsMomentText moment = gpsLocalMoment(c.datePiece, c.timePiece);
        EXPECT_EQ(moment.date + ' ' + moment.time, std::string(c.date) + ' ' + c.time)
            << c.zone << ' ' << c.datePiece << ' ' << c.timePiece;
    }
}

struct SystemMomentCase {
    const char* datePiece;
    const char* timePiece;
    const char* onLinux;
    const char* onWindows;
};

// Linux follows the rules a TZ value writes out; the Windows C runtime reads only its names
// and offsets and takes the United States' daylight-saving dates for every zone. A Windows
// desk leaves TZ unset, and the zone set in Windows applies with its own dates.
TEST(GpsLocalMoment, DaylightDatesOfAZoneSetInTzAreTheSystemsOwn) {
    const std::vector<SystemMomentCase> cases{
        // Berlin's spring change is at 01:00 UTC on 25 March 2012, New York's on 11 March.
        {"250312", "005959", "2012/03/25 01:59:59", "2012/03/25 02:59:59"},
        {"250312", "010000", "2012/03/25 03:00:00", "2012/03/25 03:00:00"},
        {"120312", "120000", "2012/03/12 13:00:00", "2012/03/12 14:00:00"},
        {"010112", "120000", "2012/01/01 13:00:00", "2012/01/01 13:00:00"},
    };
    test::ScopedTimeZone zone("CET-1CEST,M3.5.0,M10.5.0/3");
    for (const SystemMomentCase& c : cases) {
        const GpsMomentText moment = gpsLocalMoment(c.datePiece, c.timePiece);
        EXPECT_EQ(moment.date + ' ' + moment.time, test::OnWindows ? c.onWindows : c.onLinux)
            << c.datePiece << ' ' << c.timePiece;
    }
}

}  // namespace
}  // namespace kv820
