#pragma once

#include <filesystem>

#include "core/records/export_outcome.h"
#include "core/records/report_rows.h"
#include "core/records/search_criteria.h"

namespace kv820 {

enum class ExportFormat { Kml, Gpx, Csv };

// The format a chosen file name asks for: ".gpx" and ".csv" (any letter case) give those
// formats, every other name KML, the program's first export format.
ExportFormat exportFormatForPath(const std::filesystem::path& path);

// What the result allows before a file is chosen: NoData for an empty result; for the
// track formats (KML, GPX) NoEffectiveData when no row has a fix; otherwise Written
// (nothing stands in the way). RowsUnreadable when the result cannot be read.
ExportOutcome precheckExport(ExportFormat format, const ReportRows& rows);

// Writes the result to the file at path in the given format, replacing the file only when
// the document is whole. Repeats the precheck first, so no file is created for a result
// that has nothing to export. On any failure the file at path is left as it was.
ExportResult exportRecords(ExportFormat format, const std::filesystem::path& path,
                           const SearchCriteria& range, const ReportRows& rows);

// The KML track export of the record search.
ExportResult ExportKml(const std::filesystem::path& path, const SearchCriteria& range,
                       const ReportRows& rows);

}  // namespace kv820
