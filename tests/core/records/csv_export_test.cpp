#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/records/record_export.h"
#include "report_rows_fixture.h"

namespace kv820 {
namespace {

using test::FreshTempFolder;
using test::ReadGolden;
using test::ReadWholeFile;
using test::StoredReport;
using test::StoredReports;

std::vector<StoredReport> AwkwardRows() {
    StoredReport plain;
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
    return {plain, noFix, odd};
}

TEST(CsvExport, EveryRowIsWrittenWithQuotedFieldsWhereNeeded) {
    const auto path = FreshTempFolder() / "rows.csv";
    const SearchRange criteria{"Smith, Jo", {2007, 5, 1, 0, 0, 0}, {2007, 5, 31, 23, 59, 59}};
    ASSERT_EQ(ExportRecords(ExportFormat::kCsv, path, criteria, StoredReports(AwkwardRows())),
              ExportOutcome::kWritten);
    EXPECT_EQ(ReadWholeFile(path), ReadGolden("csv_rows.csv"));
}

}  // namespace
}  // namespace kv820
