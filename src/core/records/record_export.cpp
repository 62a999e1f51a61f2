#include "core/records/record_export.h"

#include <cctype>
#include <string>

#include "core/records/csv_writer.h"
#include "core/records/export_file.h"
#include "core/records/gpx_writer.h"
#include "core/records/kml_writer.h"
#include "core/records/report_row_view.h"

namespace kv820 {

ExportFormat exportFormatForPath(const std::filesystem::path& path) {
    std::string suffix = path.extension().string();
    for (char& c : suffix) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (suffix == ".gpx") {
        return ExportFormat::Gpx;
    }
    if (suffix == ".csv") {
        return ExportFormat::Csv;
    }
    return ExportFormat::Kml;
}

namespace {

ExportOutcome writeDocument(ExportFormat format, TextSink& sink, const SearchCriteria& range,
                            const ReportRows& rows) {
    switch (format) {
        case ExportFormat::Gpx:
            return writeGpx(sink, range, rows);
        case ExportFormat::Csv:
            return writeCsv(sink, range, rows);
        case ExportFormat::Kml:
            break;
    }
    return writeKml(sink, range, rows);
}

}  // namespace

ExportOutcome precheckExport(ExportFormat format, const ReportRows& rows) {
    bool anyRow = false;
    bool anyFix = false;
    const bool needsFix = format != ExportFormat::Csv;
    const bool rowsRead = rows.forEachOldestFirst([&](const ReportRowView& row) {
        anyRow = true;
        anyFix = hasFix(row);
        return needsFix && !anyFix;  // stop at the first row that settles the question
    });
    if (!rowsRead) {
        return ExportOutcome::RowsUnreadable;
    }
    if (!anyRow) {
        return ExportOutcome::NoData;
    }
    if (needsFix && !anyFix) {
        return ExportOutcome::NoEffectiveData;
    }
    return ExportOutcome::Written;
}

ExportResult exportRecords(ExportFormat format, const std::filesystem::path& path,
                           const SearchCriteria& range, const ReportRows& rows) {
    const ExportOutcome precheck = precheckExport(format, rows);
    if (precheck != ExportOutcome::Written) {
        return {precheck, {}};
    }
    ExportFile file(path);
    if (!file.open()) {
        return {ExportOutcome::NoFileExistence, file.failureReason()};
    }
    const ExportOutcome outcome = writeDocument(format, file, range, rows);
    if (outcome != ExportOutcome::Written) {
        file.discard();
        return {outcome, file.failureReason()};
    }
    if (!file.commit()) {
        return {ExportOutcome::WriteFailure, file.failureReason()};
    }
    return {};
}

ExportResult ExportKml(const std::filesystem::path& path, const SearchCriteria& range,
                       const ReportRows& rows) {
    return exportRecords(ExportFormat::Kml, path, range, rows);
}

}  // namespace kv820
