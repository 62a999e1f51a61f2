#include <gtest/gtest.h>

#include "core/records/record_export.h"
#include "report_rows_fixture.h"
#include "support/temp_dir.h"

namespace kv820 {
namespace {

using test::StoredReport;

TEST(CsvExport, EveryRowIsWrittenWithQuotedFieldsWhereNeeded) {
    StoredReport noFix;
    noFix.receiveTime = "10:13:04";
    noFix.gpsPosLat = "NO";
    noFix.gpsPosLon = "NO";
    noFix.gpsDate = "2000/00/00";
    noFix.gpsTime = "00:00:00";
    noFix.gpsStatus = "No Fix";
    noFix.gpsAltitude = "say \"hi\"";
    noFix.gpsSpeed = "1.8520";
    noFix.gpsDirection = "1\r\n2";
    noFix.gpsNumber = "line\nbreak";
    noFix.messageStatus = "SOS report";
    StoredReport odd;
    odd.receiveTime = "10:23:04";
    odd.gpsPosLat = "25.1";
    odd.gpsPosLon = "121.5";
    odd.gpsTime = "10:22:58";
    odd.gpsStatus = "2D";
    odd.gpsAltitude = "";
    odd.gpsSpeed = "";
    odd.gpsDirection = "\"";
    odd.gpsNumber = "\xC3\xA9t\xC3\xA9";  // UTF-8 passes through unchanged
    odd.messageStatus = "a\rb";

    test::TempDir dir;
    const auto path = dir.path() / "rows.csv";
    const SearchRange criteria{"Smith, Jo", {2007, 5, 1, 0, 0, 0}, {2007, 5, 31, 23, 59, 59}};
    ASSERT_EQ(ExportRecords(ExportFormat::kCsv, path, criteria,
                            test::StoredReports({StoredReport{}, noFix, odd})),
              ExportOutcome::kWritten);
    EXPECT_EQ(test::ReadWholeFile(path), test::ReadGolden("csv_rows.csv"));
}

}  // namespace
}  // namespace kv820
