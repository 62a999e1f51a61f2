#include "core/records/record_export.h"

#include "core/records/csv_writer.h"
#include "core/records/export_file.h"
#include "core/records/gpx_writer.h"
#include "core/records/kml_writer.h"
#include "core/records/track_point.h"

namespace kv820 {

namespace {

ExportOutcome WriteDocument(ExportFormat format, TextSink& sink, const SearchRange& range,
                            const ReportRows& rows) {
    switch (format) {
        case ExportFormat::kGpx:
            return WriteGpx(sink, range, rows);
        case ExportFormat::kCsv:
            return WriteCsv(sink, range, rows);
        case ExportFormat::kKml:
            break;
    }
    return WriteKml(sink, range, rows);
}

}  // namespace

ExportOutcome PrecheckExport(ExportFormat format, const ReportRows& rows) {
    bool anyRow = false;
    bool anyFix = false;
    const bool needsFix = format != ExportFormat::kCsv;
    const bool rowsRead = rows.forEachOldestFirst([&](const ReportRowView& row) {
        anyRow = true;
        anyFix = HasFix(row);
        return needsFix && !anyFix;  // stop at the first row that settles the question
    });
    if (!rowsRead) {
        return ExportOutcome::kRowsUnreadable;
    }
    if (!anyRow) {
        return ExportOutcome::kNoData;
    }
    if (needsFix && !anyFix) {
        return ExportOutcome::kNoEffectiveData;
    }
    return ExportOutcome::kWritten;
}

ExportResult ExportRecords(ExportFormat format, const std::filesystem::path& path,
                           const SearchRange& range, const ReportRows& rows) {
    const ExportOutcome precheck = PrecheckExport(format, rows);
    if (precheck != ExportOutcome::kWritten) {
        return {precheck, {}};
    }
    ExportFile file(path);
    if (!file.open()) {
        return {ExportOutcome::kNoFileExistence, file.failureReason()};
    }
    const ExportOutcome outcome = WriteDocument(format, file, range, rows);
    if (outcome != ExportOutcome::kWritten) {
        file.discard();
        return {outcome, file.failureReason()};
    }
    if (!file.commit()) {
        return {ExportOutcome::kWriteFailure, file.failureReason()};
    }
    return {};
}

ExportResult ExportKml(const std::filesystem::path& path, const SearchRange& range,
                       const ReportRows& rows) {
    return ExportRecords(ExportFormat::kKml, path, range, rows);
}

}  // namespace kv820
