#include "core/records/gpx_writer.h"

#include <optional>
#include <string>
#include <string_view>

#include "core/commands/input_validators.h"
#include "core/common/number_text.h"
#include "core/records/gps_time_utc.h"
#include "core/records/report_row_view.h"
#include "core/records/track_document.h"
#include "core/records/xml_text.h"
#include "core/report/report_kinds.h"

namespace kv820 {

namespace {

std::string escaped(std::string_view text) {
    std::string out;
    appendXmlText(out, text);
    return out;
}

std::string documentHead(const SearchCriteria& range) {
    const std::string user = escaped(range.userName);
    const std::string title = escaped(range.title());
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
           "<gpx version=\"1.1\" creator=\"KV820-Call Center\"\r\n"
           "     xmlns=\"http://www.topografix.com/GPX/1/1\"\r\n"
           "     xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\r\n"
           "     xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 "
           "http://www.topografix.com/GPX/1/1/gpx.xsd\">\r\n"
           " <metadata>\r\n"
           "  <name>" +
           title +
           "</name>\r\n"
           " </metadata>\r\n"
           " <trk>\r\n"
           "  <name>" +
           user +
           " Tracking</name>\r\n"
           "  <desc>KV820 TRACK LOG</desc>\r\n"
           "  <trkseg>\r\n";
}

std::optional<std::string_view> gpxFix(std::string_view status) {
    if (status == Fix2dText) {
        return "2d";
    }
    if (status == Fix3dText) {
        return "3d";
    }
    return std::nullopt;
}

bool hasGpxPosition(const ReportRowView& row) {
    return isDecimalWithin(row.gpsPosLat, 90.0) && isDecimalWithin(row.gpsPosLon, 180.0);
}

// The child elements keep the order the GPX schema fixes: ele, time, fix, sat.
void appendTrackPoint(std::string& out, const ReportRowView& row) {
    out += "   <trkpt lat=\"";
    out += row.gpsPosLat;
    out += "\" lon=\"";
    out += row.gpsPosLon;
    out += "\">\r\n";
    if (isDecimalText(row.gpsAltitude)) {
        out += "    <ele>";
        out += row.gpsAltitude;
        out += "</ele>\r\n";
    }
    if (const auto utc = gpsLocalTimeToUtcIso(row.gpsDate, row.gpsTime)) {
        out += "    <time>" + *utc + "</time>\r\n";
    }
    if (const auto fix = gpxFix(row.gpsStatus)) {
        out += "    <fix>";
        out += *fix;
        out += "</fix>\r\n";
    }
    if (!row.gpsNumber.empty() && IsDigitString(row.gpsNumber)) {
        out += "    <sat>";
        out += row.gpsNumber;
        out += "</sat>\r\n";
    }
    out += "   </trkpt>\r\n";
}

constexpr std::string_view DocumentTail =
    "  </trkseg>\r\n"
    " </trk>\r\n"
    "</gpx>\r\n";

}  // namespace

ExportOutcome writeGpx(TextSink& sink, const SearchCriteria& range, const ReportRows& rows) {
    return writeTrackDocument(sink, documentHead(range), DocumentTail, rows,
                              [](const ReportRowView& row, std::string& out) {
                                  if (!isTrackPoint(row) || !hasGpxPosition(row)) {
                                      return false;
                                  }
                                  appendTrackPoint(out, row);
                                  return true;
                              });
}

}  // namespace kv820
