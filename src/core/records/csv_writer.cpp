#include "core/records/csv_writer.h"

#include <array>
#include <string>
#include <string_view>

#include "core/records/report_list_headers.h"
#include "core/records/report_row_view.h"

namespace kv820 {

namespace {

void appendField(std::string& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (char c : field) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
}

}  // namespace

void appendCsvRecord(std::string& out, std::span<const std::string_view> fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            out += ',';
        }
        appendField(out, fields[i]);
    }
    out += "\r\n";
}

namespace {

// The fields in list order, under the list headers: the user name in the imei's place.
std::array<std::string_view, GpslogColumnCount> recordFields(std::string_view user,
                                                             const ReportRowView& row) {
    std::array<std::string_view, GpslogColumnCount> fields;
    for (std::size_t c = 0; c < GpslogColumnCount; ++c) {
        fields[c] = c == Imei ? user : row.*ReportRowViewMembers[c];
    }
    return fields;
}

}  // namespace

ExportOutcome writeCsv(TextSink& sink, const SearchCriteria& range, const ReportRows& rows) {
    std::string record;
    appendCsvRecord(record, ReportListHeaders);
    bool written = sink.write(record);
    const bool rowsRead = written && rows.forEachOldestFirst([&](const ReportRowView& row) {
        record.clear();
        appendCsvRecord(record, recordFields(range.userName, row));
        written = sink.write(record);
        return written;
    });
    if (!written) {
        return ExportOutcome::WriteFailure;
    }
    return rowsRead ? ExportOutcome::Written : ExportOutcome::RowsUnreadable;
}

}  // namespace kv820
