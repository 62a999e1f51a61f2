#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "core/records/record_export.h"
#include "report_rows_fixture.h"
#include "support/temp_dir.h"

namespace kv820 {
namespace {

using test::At;

const SearchCriteria TomInMay{"Tom", {2007, 5, 1, 0, 0, 0}, {2007, 5, 31, 23, 59, 59}};
const GpslogRow Taipei = At("25.047924", "121.517081");

struct KmlCase {
    const char* golden;
    SearchCriteria criteria;
    std::vector<GpslogRow> oldestFirst;
};

TEST(KmlExport, TheFileHoldsExactlyTheExpectedDocumentInPlaceOfALongerOne) {
    const std::vector<KmlCase> cases{
        {"kml_one_point.kml", TomInMay, {Taipei}},
        // Rows without a fix or without a position, before, between and after the points.
        {"kml_skips.kml",
         TomInMay,
         {At("NO", "NO", "No Fix"), Taipei, At("25.1", "121.5", "No Fix"), At("NO", "121.5"),
          At("25.1", "NO"), At("-34.603722", "-58.381592", "2D"), At("25.1", "121.5", "No Fix")}},
        {"kml_escaped_name.kml",
         {"A&B <\"x\">'s", {2007, 5, 1, 0, 0, 0}, {2007, 5, 31, 23, 59, 59}},
         {Taipei}},
        // Fixed rows whose position is missing pass the fix test but draw nothing.
        {"kml_empty_track.kml", TomInMay, {At("NO", "121.5"), At("NO", "NO", "2D")}},
    };
    test::TempDir dir;
    for (const KmlCase& c : cases) {
        const auto path = dir.path() / c.golden;
        std::ofstream(path, std::ios::binary) << std::string(10000, 'x');  // replaced whole
        ASSERT_EQ(ExportKml(path, c.criteria, test::StoredReports(c.oldestFirst)),
                  ExportOutcome::Written);
        EXPECT_EQ(test::ReadWholeFile(path), test::ReadGolden(c.golden)) << c.golden;
    }
}

}  // namespace
}  // namespace kv820
