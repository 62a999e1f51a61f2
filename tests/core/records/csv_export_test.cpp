#include <gtest/gtest.h>

#include "core/records/record_export.h"
#include "report_rows_fixture.h"
#include "support/temp_dir.h"

namespace kv820 {
namespace {

TEST(CsvExport, EveryRowIsWrittenWithQuotedFieldsWhereNeeded) {
    const GpslogRow noFix = {"",           "2007/05/12",  "10:13:04",  "NO",         "NO",
                             "2000/00/00", "00:00:00",    "No Fix",    "say \"hi\"", "1.8520",
                             "1\r\n2",     "line\nbreak", "SOS report"};
    // UTF-8 passes through unchanged.
    const GpslogRow odd = {"",           "2007/05/12",        "10:23:04", "25.1", "121.5",
                           "2007/05/12", "10:22:58",          "2D",       "",     "",
                           "\"",         "\xC3\xA9t\xC3\xA9", "a\rb"};

    test::TempDir dir;
    const auto path = dir.path() / "rows.csv";
    const SearchCriteria criteria{"Smith, Jo", {2007, 5, 1, 0, 0, 0}, {2007, 5, 31, 23, 59, 59}};
    ASSERT_EQ(ExportRecords(ExportFormat::Csv, path, criteria,
                            test::StoredReports({test::At("25.047924", "121.517081"), noFix, odd})),
              ExportOutcome::Written);
    EXPECT_EQ(test::ReadWholeFile(path), test::ReadGolden("csv_rows.csv"));
}

}  // namespace
}  // namespace kv820
