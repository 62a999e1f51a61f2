#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/records/kml_writer.h"
#include "core/records/record_export.h"
#include "report_rows_fixture.h"

namespace kv820 {
namespace {

using test::At;
using test::FreshTempFolder;
using test::ReadGolden;
using test::ReadWholeFile;
using test::StoredReport;
using test::StoredReports;

SearchRange TomInMay() {
    return {"Tom", {2007, 5, 1, 0, 0, 0}, {2007, 5, 31, 23, 59, 59}};
}

const StoredReport kTaipei = At("25.047924", "121.517081");
const StoredReport kBuenosAires = At("-34.603722", "-58.381592", "2D");

struct KmlCase {
    std::string golden;
    SearchRange criteria;
    std::vector<StoredReport> oldestFirst;
};

class KmlDocument : public testing::TestWithParam<KmlCase> {};

TEST_P(KmlDocument, FileHoldsExactlyTheExpectedDocument) {
    const KmlCase& c = GetParam();
    const auto path = FreshTempFolder() / "track.kml";
    ASSERT_EQ(ExportKml(path, c.criteria, StoredReports(c.oldestFirst)), ExportOutcome::kWritten);
    EXPECT_EQ(ReadWholeFile(path), ReadGolden(c.golden));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, KmlDocument,
    testing::Values(
        KmlCase{"kml_one_point.kml", TomInMay(), {kTaipei}},
        // Rows without a fix or without a position, before, between and after the points.
        KmlCase{"kml_skips.kml",
                TomInMay(),
                {At("NO", "NO", "No Fix"), kTaipei, At("25.1", "121.5", "No Fix"),
                 At("NO", "121.5"), At("25.1", "NO"), kBuenosAires, At("25.1", "121.5", "No Fix")}},
        KmlCase{"kml_escaped_name.kml",
                {"A&B <\"x\">'s", {2007, 5, 1, 0, 0, 0}, {2007, 5, 31, 23, 59, 59}},
                {kTaipei}},
        // Fixed rows whose position is missing pass the fix test but draw nothing.
        KmlCase{"kml_empty_track.kml", TomInMay(), {At("NO", "121.5"), At("NO", "NO", "2D")}}),
    [](const testing::TestParamInfo<KmlCase>& info) {
        std::string name = info.param.golden.substr(0, info.param.golden.find('.'));
        return name;
    });

TEST(KmlExport, DocumentEndsWithTheClosingTagAndNoLineEnd) {
    test::CollectingSink sink;
    ASSERT_EQ(WriteKml(sink, TomInMay(), StoredReports({kTaipei})), ExportOutcome::kWritten);
    EXPECT_TRUE(sink.text.ends_with("\r\n</kml>"));
}

TEST(KmlExport, ExportingTwiceToOneFileGivesTheSameDocument) {
    const auto path = FreshTempFolder() / "twice.kml";
    const StoredReports rows({kTaipei, kBuenosAires});
    ASSERT_EQ(ExportKml(path, TomInMay(), rows), ExportOutcome::kWritten);
    const std::string first = ReadWholeFile(path);
    ASSERT_EQ(ExportKml(path, TomInMay(), rows), ExportOutcome::kWritten);
    EXPECT_EQ(ReadWholeFile(path), first);
}

TEST(KmlExport, ReplacesALongerFileWhole) {
    const auto path = FreshTempFolder() / "old.kml";
    std::ofstream(path, std::ios::binary) << std::string(10000, 'x');
    ASSERT_EQ(ExportKml(path, TomInMay(), StoredReports({kTaipei})), ExportOutcome::kWritten);
    EXPECT_EQ(ReadWholeFile(path), ReadGolden("kml_one_point.kml"));
}

TEST(KmlExport, ReadsTheResultOnlyUntilAFixIsFoundBeforeWriting) {
    const StoredReports rows({kTaipei});
    ASSERT_EQ(ExportKml(FreshTempFolder() / "t.kml", TomInMay(), rows), ExportOutcome::kWritten);
    EXPECT_EQ(rows.walks, 2);  // the check, then the document
}

}  // namespace
}  // namespace kv820
