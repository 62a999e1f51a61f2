#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "core/records/record_export.h"
#include "support/report_rows_fixture.h"
#include "support/temp_dir.h"

namespace kv820 {
namespace {

using test::at;

const SearchCriteria TomInMay{"Tom", {2007, 5, 1, 0, 0, 0}, {2007, 5, 31, 23, 59, 59}};
const GpslogRow Taipei = at("25.047924", "121.517081");

// UTF-8 passes through unchanged; quotes, separators and line breaks are quoted.
const GpslogRow NoFix = {"",           "2007/05/12",  "10:13:04",  "NO",         "NO",
                         "2000/00/00", "00:00:00",    "No Fix",    "say \"hi\"", "1.8520",
                         "1\r\n2",     "line\nbreak", "SOS report"};
const GpslogRow Odd = {"",           "2007/05/12",        "10:23:04", "25.1", "121.5",
                       "2007/05/12", "10:22:58",          "2D",       "",     "",
                       "\"",         "\xC3\xA9t\xC3\xA9", "a\rb"};

struct GoldenCase {
    const char* golden;
    SearchCriteria criteria;
    std::vector<GpslogRow> oldestFirst;
};

TEST(GoldenExport, TheFileHoldsExactlyTheExpectedDocumentInPlaceOfALongerOne) {
    const std::vector<GoldenCase> cases{
        {"kml_one_point.kml", TomInMay, {Taipei}},
        // Rows without a fix or without a position, before, between and after the points.
        {"kml_skips.kml",
         TomInMay,
         {at("NO", "NO", "No Fix"), Taipei, at("25.1", "121.5", "No Fix"), at("NO", "121.5"),
          at("25.1", "NO"), at("-34.603722", "-58.381592", "2D"), at("25.1", "121.5", "No Fix")}},
        {"kml_escaped_name.kml",
         {"A&B <\"x\">'s", {2007, 5, 1, 0, 0, 0}, {2007, 5, 31, 23, 59, 59}},
         {Taipei}},
        // Fixed rows whose position is missing pass the fix test but draw nothing.
        {"kml_empty_track.kml", TomInMay, {at("NO", "121.5"), at("NO", "NO", "2D")}},
        {"csv_rows.csv",
         {"Smith, Jo", {2007, 5, 1, 0, 0, 0}, {2007, 5, 31, 23, 59, 59}},
         {Taipei, NoFix, Odd}},
    };
    test::TempDir dir;
    for (const GoldenCase& c : cases) {
        const auto path = dir.path() / c.golden;
        std::ofstream(path, std::ios::binary) << std::string(10000, 'x');  // replaced whole
        ASSERT_EQ(exportRecords(exportFormatForPath(path), path, c.criteria,
                                test::StoredReports(c.oldestFirst)),
                  ExportOutcome::Written);
        EXPECT_EQ(test::readWholeFile(path), test::readGolden(c.golden)) << c.golden;
    }
}

}  // namespace
}  // namespace kv820
