#include "app/trips/track_report_document.h"

#include <QPrinter>
#include <QTextDocument>

#include "app/trips/track_tables.h"

namespace kv820 {

namespace {

struct Section {
    const char* heading;
    TripReportKind kind;
};

// The day totals first: what the operator reads before the detail.
constexpr Section Sections[] = {{"Daily summary", TripReportKind::Summary},
                                {"Trips", TripReportKind::Trips},
                                {"Stops", TripReportKind::Stops}};

QString tableHtml(TripReportKind kind, const TrackSummary& summary) {
    const auto rows = trackTableRows(kind, summary);
    if (rows.empty()) {
        return QStringLiteral("<p>None.</p>");
    }
    QString html = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\"><tr>");
    for (const QString& header : trackTableHeaders(kind)) {
        html += QStringLiteral("<th>%1</th>").arg(header.toHtmlEscaped());
    }
    html += QStringLiteral("</tr>");
    for (const auto& row : rows) {
        html += QStringLiteral("<tr>");
        for (const TrackCell& cell : row) {
            const bool number = cell.sortKey.typeId() != QMetaType::QString;
            html += QStringLiteral("<td%1>%2</td>")
                        .arg(number ? QStringLiteral(" align=\"right\"") : QString(),
                             cell.text.toHtmlEscaped());
        }
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

}  // namespace

QString trackReportHtml(const QString& title, const TrackSummary& summary) {
    QString html = QStringLiteral("<html><body><h2>%1</h2>").arg(title.toHtmlEscaped());
    for (const Section& section : Sections) {
        html += QStringLiteral("<h3>%1</h3>").arg(QString::fromLatin1(section.heading));
        html += tableHtml(section.kind, summary);
    }
    return html + QStringLiteral("</body></html>");
}

bool printTrackReport(QPrinter& printer, const QString& html) {
    QTextDocument document;
    document.setHtml(html);
    document.print(&printer);
    return printer.printerState() != QPrinter::Error;
}

}  // namespace kv820
