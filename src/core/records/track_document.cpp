#include "core/records/track_document.h"

namespace kv820 {

ExportOutcome writeTrackDocument(
    TextSink& sink, std::string_view head, std::string_view tail, const ReportRows& rows,
    const std::function<bool(const ReportRowView& row, std::string& out)>& pointText) {
    bool written = sink.write(head);
    std::string point;
    const bool rowsRead = written && rows.forEachOldestFirst([&](const ReportRowView& row) {
        point.clear();
        if (pointText(row, point)) {
            written = sink.write(point);
        }
        return written;
    });
    if (!written) {
        return ExportOutcome::WriteFailure;
    }
    if (!rowsRead) {
        return ExportOutcome::RowsUnreadable;
    }
    return sink.write(tail) ? ExportOutcome::Written : ExportOutcome::WriteFailure;
}

}  // namespace kv820
