#pragma once

#include "core/records/export_outcome.h"
#include "core/records/report_rows.h"
#include "core/records/search_criteria.h"
#include "core/records/text_sink.h"

namespace kv820 {

// Writes the track of a search result as a KML 2.0 document: one folder and one placemark
// named after the search, whose line runs through the track points oldest first. Lines end
// in CR LF except the last; each opening line is indented one blank deeper than the one
// before. Returns Written, WriteFailure or RowsUnreadable.
ExportOutcome writeKml(TextSink& sink, const SearchCriteria& range, const ReportRows& rows);

}  // namespace kv820
