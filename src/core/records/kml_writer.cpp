#include "core/records/kml_writer.h"

#include <array>
#include <string>
#include <string_view>

#include "core/records/report_row_view.h"
#include "core/records/track_document.h"
#include "core/records/xml_text.h"

namespace kv820 {

namespace {

constexpr std::string_view LineEnd = "\r\n";

void appendLine(std::string& out, int blanks, std::string_view text) {
    out.append(static_cast<std::size_t>(blanks), ' ');
    out += text;
    out += LineEnd;
}

std::string documentHead(const SearchCriteria& range) {
    std::string folderName;
    appendXmlText(folderName, range.userName);
    std::string title;
    appendXmlText(title, range.title());
    const std::array<std::string, 17> lines{
        "<kml xmlns=\"http://earth.google.com/kml/2.0\">",
        "<Folder>",
        "<name>" + folderName + " Tracking</name>",
        "<open>1</open>",
        "<Placemark>",
        "<description>KV820 TRACK LOG</description>",
        "<name>" + title + "</name>",
        "<styleUrl>root://styleMaps#default+nicon=0x467+hicon=0x477</styleUrl>",
        "<Style>",
        "<LineStyle id=\"khLineStyle989\">",
        "<color>7f0000ff</color>",
        "<width>4</width>",
        "</LineStyle>",
        "</Style>",
        "<LineString>",
        "<tessellate>1</tessellate>",
        "<coordinates>",
    };
    std::string head;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        appendLine(head, static_cast<int>(i), lines[i]);
    }
    return head;
}

void appendCoordinateLine(std::string& out, const ReportRowView& row) {
    appendXmlText(out, row.gpsPosLon);
    out += ", ";
    appendXmlText(out, row.gpsPosLat);
    out += ", 0.000000";
    out += LineEnd;
}

constexpr std::string_view DocumentTail =
    "    </coordinates>\r\n"
    "   </LineString>\r\n"
    "  </Placemark>\r\n"
    " </Folder>\r\n"
    "</kml>";

}  // namespace

ExportOutcome writeKml(TextSink& sink, const SearchCriteria& range, const ReportRows& rows) {
    return writeTrackDocument(sink, documentHead(range), DocumentTail, rows,
                              [](const ReportRowView& row, std::string& out) {
                                  if (!isTrackPoint(row)) {
                                      return false;
                                  }
                                  appendCoordinateLine(out, row);
                                  return true;
                              });
}

}  // namespace kv820
