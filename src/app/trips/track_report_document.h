#pragma once

#include <QString>

#include "core/trips/track_summary.h"

class QPrinter;

namespace kv820 {

// The summary, the trips and the stops of a searched range as one document, headed by
// `title`, with the tables' own columns and texts.
QString trackReportHtml(const QString& title, const TrackSummary& summary);

// Prints the document on `printer` (paper, or a PDF file the printer was set up for);
// false when the printer could not take it.
bool printTrackReport(QPrinter& printer, const QString& html);

}  // namespace kv820
