#pragma once

#include "core/records/export_outcome.h"
#include "core/records/report_rows.h"
#include "core/records/search_criteria.h"
#include "core/records/text_sink.h"

namespace kv820 {

// Writes the track of a search result as a GPX 1.1 document: one track with one segment
// whose points run oldest first. A point carries its position as stored, its altitude as
// "ele" when that is a number, its GPS time converted to UTC, its fix ("2d", "3d") and its
// satellite count when that is a whole number. Rows that are no track point, and rows
// whose position is not decimal degrees in range (which GPX cannot carry), are left out.
// Returns Written, WriteFailure or RowsUnreadable.
ExportOutcome writeGpx(TextSink& sink, const SearchCriteria& range, const ReportRows& rows);

}  // namespace kv820
