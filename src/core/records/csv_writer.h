#pragma once

#include <span>
#include <string>
#include <string_view>

#include "core/records/export_outcome.h"
#include "core/records/report_rows.h"
#include "core/records/search_criteria.h"
#include "core/records/text_sink.h"

namespace kv820 {

// Appends one CSV record (RFC 4180) and its CR LF: a field holding a comma, a double quote
// or a line break is quoted, its quotes doubled.
void appendCsvRecord(std::string& out, std::span<const std::string_view> fields);

// Writes a search result as CSV (RFC 4180, UTF-8, CR LF after every record): the list's
// thirteen column headers, then one record per row, oldest first, each starting with the
// searched user name. Fields holding a comma, a double quote or a line break are quoted,
// their quotes doubled. Every row is written; nothing is skipped. Returns Written,
// WriteFailure or RowsUnreadable.
ExportOutcome writeCsv(TextSink& sink, const SearchCriteria& range, const ReportRows& rows);

}  // namespace kv820
