#pragma once

#include <QStringList>
#include <QVariant>
#include <vector>

#include "core/trips/track_summary.h"
#include "core/trips/trip_report.h"

class QStandardItemModel;

namespace kv820 {

// The operator's tables of trips, stops and days: one row per item, in the order given.
// Each cell shows a text written without the locale and sorts by its value (numbers as
// numbers, times as their stored text, which sorts in time order).
struct TrackCell {
    QString text;
    QVariant sortKey;
};

// The role a cell's sort key is kept under; the tables' models sort by it.
inline constexpr int TrackSortRole = Qt::UserRole + 1;
// The role of the first cell that holds the item's place in the summary's list.
inline constexpr int TrackItemRole = Qt::UserRole + 2;

QStringList trackTableHeaders(TripReportKind kind);
// The cells of each item of `kind` in `summary`.
std::vector<std::vector<TrackCell>> trackTableRows(TripReportKind kind,
                                                   const TrackSummary& summary);
// Empties `model` and fills it with the headers and rows of `kind`.
void fillTrackTable(QStandardItemModel& model, TripReportKind kind, const TrackSummary& summary);

// "h:mm:ss", hours without bound.
QString durationText(std::int64_t seconds);

}  // namespace kv820
