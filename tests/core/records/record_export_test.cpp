#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "core/records/record_export.h"
#include "support/report_rows_fixture.h"
#include "support/temp_dir.h"

#if !defined(_WIN32)
#include <sys/resource.h>
#endif

namespace kv820 {
namespace {

using test::at;
using test::readWholeFile;
using test::StoredReports;

const SearchCriteria Range{"Tom", {2007, 5, 1, 0, 0, 0}, {2007, 5, 31, 23, 59, 59}};

// A result with nothing to export creates no file at all, whatever the format.
TEST(RecordExport, APrecheckDecidesBeforeAnyFileIsCreated) {
    using O = ExportOutcome;
    struct Case {
        std::vector<GpslogRow> oldestFirst;
        O kml, gpx, csv;
    };
    const std::vector<Case> cases{
        {{}, O::NoData, O::NoData, O::NoData},
        {{at("25.1", "121.5", "No Fix"), at("NO", "NO", "No Fix")},
         O::NoEffectiveData,
         O::NoEffectiveData,
         O::Written},
        // "no fix" is not the status text the tracker reports for a missing fix.
        {{at("25.1", "121.5", "no fix")}, O::Written, O::Written, O::Written},
    };
    const test::TempDir dir;
    int file = 0;
    for (const Case& c : cases) {
        const StoredReports rows(c.oldestFirst);
        for (const auto& [format, outcome] : {std::pair{ExportFormat::Kml, c.kml},
                                              {ExportFormat::Gpx, c.gpx},
                                              {ExportFormat::Csv, c.csv}}) {
            EXPECT_EQ(precheckExport(format, rows), outcome);
            const auto path = dir.path() / std::to_string(++file);
            EXPECT_EQ(exportRecords(format, path, Range, rows).outcome, outcome);
            EXPECT_EQ(std::filesystem::exists(path), outcome == O::Written);
        }
    }
}

// The operator's file as it was before the export.
const std::string OldDocument = "the operator's earlier track\n";

std::filesystem::path oldFile(const std::filesystem::path& folder) {
    const auto path = folder / "t.kml";
    std::ofstream(path, std::ios::binary) << OldDocument;
    return path;
}

std::size_t filesIn(const std::filesystem::path& folder) {
    const std::filesystem::directory_iterator entries(folder);
    return static_cast<std::size_t>(std::distance(begin(entries), end(entries)));
}

TEST(RecordExport, UnopenableFileIsNoFileExistenceWithTheReason) {
    const test::TempDir dir;
    const auto folder = dir.path();
    const StoredReports rows({at("25.1", "121.5")});
    const ExportResult missing = ExportKml(folder / "missing" / "t.kml", Range, rows);
    EXPECT_EQ(missing.outcome, ExportOutcome::NoFileExistence);
    EXPECT_EQ(exportResultMessage(missing),
              "No file existence.\n" +
                  std::make_error_code(std::errc::no_such_file_or_directory).message());
    const ExportResult aFolder = ExportKml(folder, Range, rows);
    EXPECT_EQ(aFolder.outcome, ExportOutcome::NoFileExistence);
    EXPECT_EQ(aFolder.systemReason, std::make_error_code(std::errc::is_a_directory).message());
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST(RecordExport, ResultThatBreaksOffLeavesTheOldFileAlone) {
    const test::TempDir dir;
    const auto folder = dir.path();
    const auto path = oldFile(folder);
    const std::vector<GpslogRow> rows(5, at("25.1", "121.5"));
    for (ExportFormat format : {ExportFormat::Kml, ExportFormat::Gpx, ExportFormat::Csv}) {
        EXPECT_EQ(exportRecords(format, path, Range, StoredReports(rows, 3)),
                  ExportOutcome::RowsUnreadable);
        EXPECT_EQ(readWholeFile(path), OldDocument);
        EXPECT_EQ(filesIn(folder), 1u);
    }
}

#if !defined(_WIN32)
// The file system refuses to grow the file past a limit, as a full disk would.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

  private:
    rlimit saved_{};
};

// In the words of the system, in the locale's language.
std::string fileTooLarge() {
    return std::make_error_code(std::errc::file_too_large).message();
}

#endif

// A file that cannot grow during the writing, or a document that fits in the file's buffer
// so that only its last flush fails: either is a write failure that leaves the old file.
TEST(RecordExport, WriteFailureLeavesTheOldFileAndSaysWhy) {
#if defined(_WIN32)
    GTEST_SKIP() << "Windows has no file size limit per process to make a write fail";
#else
    const test::TempDir dir;
    const auto folder = dir.path();
    const auto path = oldFile(folder);
    for (const auto& [rows, limit] :
         {std::pair{std::size_t{20000}, rlim_t{64 * 1024}}, {std::size_t{1}, rlim_t{100}}}) {
        const StoredReports result(std::vector<GpslogRow>(rows, at("25.047924", "121.517081")));
        for (ExportFormat format : {ExportFormat::Kml, ExportFormat::Gpx, ExportFormat::Csv}) {
            ExportResult exported;
            {
                FileSizeLimit sizeLimit(limit);
                exported = exportRecords(format, path, Range, result);
            }
            EXPECT_EQ(exportResultMessage(exported),
                      "Export file write failure.\n" + fileTooLarge());
            EXPECT_EQ(readWholeFile(path), OldDocument);
            EXPECT_EQ(filesIn(folder), 1u);
        }
    }
#endif
}

TEST(RecordExport, FormatFollowsTheFileSuffix) {
    EXPECT_EQ(exportFormatForPath("/tmp/a.kml"), ExportFormat::Kml);
    EXPECT_EQ(exportFormatForPath("/tmp/a.GPX"), ExportFormat::Gpx);
    EXPECT_EQ(exportFormatForPath("/tmp/csv"), ExportFormat::Kml);
    EXPECT_EQ(exportFormatForPath("/tmp/a.gpx.kml"), ExportFormat::Kml);
}

}  // namespace
}  // namespace kv820
