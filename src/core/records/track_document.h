#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/records/export_outcome.h"
#include "core/records/report_row_view.h"
#include "core/records/report_rows.h"
#include "core/records/text_sink.h"

namespace kv820 {

// Writes a track document as a stream: the head, then the text of every row that
// `pointText` accepts (it fills `out` and returns true), oldest first, then the tail.
// A failed write ends the document with WriteFailure; rows that cannot be read to the
// end give RowsUnreadable.
ExportOutcome writeTrackDocument(
    TextSink& sink, std::string_view head, std::string_view tail, const ReportRows& rows,
    const std::function<bool(const ReportRowView& row, std::string& out)>& pointText);

}  // namespace kv820
