#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/records/gps_time_utc.h"
#include "core/records/record_export.h"
#include "support/report_rows_fixture.h"
#include "support/scoped_time_zone.h"
#include "support/temp_dir.h"

namespace kv820 {
namespace {

using test::at;
using test::readGolden;
using test::readWholeFile;
using test::StoredReports;

// Central European time with its summer rule, written out so no zone database is needed.
class CentralEuropeanZone : public testing::Test {
  protected:
    test::ScopedTimeZone zone_{"CET-1CEST,M3.5.0,M10.5.0/3"};
    test::TempDir dir_;
};

GpslogRow fix(std::string lat, std::string lon, std::string status, std::string date,
              std::string time, std::string altitude, std::string satellites) {
    GpslogRow r = at(std::move(lat), std::move(lon), std::move(status));
    r[GpsDate] = std::move(date);
    r[GpsTime] = std::move(time);
    r[GpsAltitude] = std::move(altitude);
    r[GpsNumber] = std::move(satellites);
    return r;
}

const SearchCriteria Range{"A&B", {2007, 1, 1, 0, 0, 0}, {2007, 5, 31, 23, 59, 59}};

std::vector<GpslogRow> mixedTrack() {
    return {
        fix("-34.603722", "-58.381592", "2D", "2007/01/01", "00:30:00", "N/A", ""),
        fix("25.1", "121.5", "No Fix", "2007/02/01", "00:00:00", "1", "0"),
        fix("NO", "121.5", "3D", "2007/03/01", "00:00:00", "1", "3"),
        fix("25.047924", "121.517081", "3D", "2007/05/12", "10:02:58", "12.5", "7"),
        // A position GPX cannot carry is left out rather than making the file invalid.
        fix("abc", "121.5", "3D", "2007/05/12", "10:02:59", "1", "3"),
        fix("91.0", "121.5", "3D", "2007/05/12", "10:03:00", "1", "3"),
        // A moment the tracker never had keeps its point but gets no time.
        fix("51.500000", "-0.120000", "3D", "2000/00/00", "00:00:00", "-5", "07"),
    };
}

// Fixed rows without a position give an empty segment.
TEST_F(CentralEuropeanZone, TrackHoldsThePointsOldestFirstWithUtcTimes) {
    for (const auto& [golden, rows] :
         {std::pair{"gpx_track.gpx", mixedTrack()},
          {"gpx_empty_track.gpx", {at("NO", "NO"), at("NO", "12.0", "2D")}}}) {
        const auto path = dir_.path() / golden;
        ASSERT_EQ(exportRecords(ExportFormat::Gpx, path, Range, StoredReports(rows)),
                  ExportOutcome::Written);
        EXPECT_EQ(readWholeFile(path), readGolden(golden));
    }
}

TEST_F(CentralEuropeanZone, DocumentIsWellFormedXml) {
    if (std::system("xmllint --version > /dev/null 2>&1") != 0) {
        GTEST_SKIP() << "xmllint is not installed";
    }
    const auto path = dir_.path() / "check.gpx";
    SearchCriteria awkward = Range;
    awkward.userName = "<Tom & \"Jerry\">\x01\r\n";
    ASSERT_EQ(exportRecords(ExportFormat::Gpx, path, awkward, StoredReports(mixedTrack())),
              ExportOutcome::Written);
    const std::string command = "xmllint --noout '" + path.string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    // The KML document must stand the same names.
    const auto kml = path.parent_path() / "check.kml";
    ASSERT_EQ(ExportKml(kml, awkward, StoredReports(mixedTrack())), ExportOutcome::Written);
    EXPECT_EQ(std::system(("xmllint --noout '" + kml.string() + "'").c_str()), 0);
}

TEST_F(CentralEuropeanZone, GpsTimesBecomeUtcByTheZoneRulesOfThatMoment) {
    struct Case {
        const char* date;
        const char* time;
        std::optional<std::string> utc;
    };
    // Winter, summer and no moment at all are in the golden track.
    for (const Case& c : {Case{"2024/03/31", "03:00:00", "2024-03-31T01:00:00Z"},
                          Case{"2007/05/12", "24:00:00", std::nullopt},
                          Case{"2007-05-12", "10:02:58", std::nullopt}}) {
        EXPECT_EQ(gpsLocalTimeToUtcIso(c.date, c.time), c.utc) << c.date << ' ' << c.time;
    }
}

}  // namespace
}  // namespace kv820
