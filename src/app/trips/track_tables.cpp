#include "app/trips/track_tables.h"

#include <QStandardItemModel>

#include "core/common/number_text.h"

namespace kv820 {

namespace {

TrackCell timeCell(const std::string& moment) {
    const QString text = QString::fromStdString(moment);
    return {text, text};
}
TrackCell decimalCell(double value, int decimals) {
    return {QString::fromStdString(fixedDecimal(value, decimals)), value};
}
TrackCell kmCell(double metres) {
    return decimalCell(metres / 1000, 3);
}
TrackCell speedCell(double kmh) {
    return decimalCell(kmh, 1);
}
TrackCell degreeCell(double degrees) {
    return decimalCell(degrees, 6);
}
TrackCell durationCell(std::int64_t seconds) {
    return {durationText(seconds), static_cast<qlonglong>(seconds)};
}
TrackCell countCell(std::size_t count) {
    return {QString::number(count), static_cast<qulonglong>(count)};
}

std::vector<TrackCell> cellsOf(const Trip& trip) {
    return {timeCell(trip.startTime),           timeCell(trip.endTime),
            durationCell(trip.durationSeconds), kmCell(trip.distanceMetres),
            speedCell(trip.maxSpeedKmh),        speedCell(trip.averageSpeedKmh),
            degreeCell(trip.startPosition.lat), degreeCell(trip.startPosition.lon),
            degreeCell(trip.endPosition.lat),   degreeCell(trip.endPosition.lon)};
}
std::vector<TrackCell> cellsOf(const Stop& stop) {
    return {timeCell(stop.startTime),           timeCell(stop.endTime),
            durationCell(stop.durationSeconds), degreeCell(stop.position.lat),
            degreeCell(stop.position.lon),      countCell(stop.reports)};
}
std::vector<TrackCell> cellsOf(const DaySummary& day) {
    return {timeCell(day.date),
            kmCell(day.distanceMetres),
            durationCell(day.drivingSeconds),
            speedCell(day.maxSpeedKmh),
            speedCell(day.averageSpeedKmh),
            countCell(day.reports)};
}

template <typename Item>
std::vector<std::vector<TrackCell>> rowsOf(const std::vector<Item>& items) {
    std::vector<std::vector<TrackCell>> rows;
    rows.reserve(items.size());
    for (const Item& item : items) {
        rows.push_back(cellsOf(item));
    }
    return rows;
}

}  // namespace

QString durationText(std::int64_t seconds) {
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QStringList trackTableHeaders(TripReportKind kind) {
    switch (kind) {
        case TripReportKind::Trips:
            return {QStringLiteral("Start"),      QStringLiteral("End"),
                    QStringLiteral("Duration"),   QStringLiteral("Distance (km)"),
                    QStringLiteral("Max (km/h)"), QStringLiteral("Average (km/h)"),
                    QStringLiteral("Start lat"),  QStringLiteral("Start lon"),
                    QStringLiteral("End lat"),    QStringLiteral("End lon")};
        case TripReportKind::Stops:
            return {QStringLiteral("Start"),     QStringLiteral("End"),
                    QStringLiteral("Duration"),  QStringLiteral("Latitude"),
                    QStringLiteral("Longitude"), QStringLiteral("Reports")};
        case TripReportKind::Summary:
            return {QStringLiteral("Date"),           QStringLiteral("Distance (km)"),
                    QStringLiteral("Driving"),        QStringLiteral("Max (km/h)"),
                    QStringLiteral("Average (km/h)"), QStringLiteral("Reports")};
    }
    return {};
}

std::vector<std::vector<TrackCell>> trackTableRows(TripReportKind kind,
                                                   const TrackSummary& summary) {
    switch (kind) {
        case TripReportKind::Trips:
            return rowsOf(summary.trips);
        case TripReportKind::Stops:
            return rowsOf(summary.stops);
        case TripReportKind::Summary:
            return rowsOf(summary.days);
    }
    return {};
}

void fillTrackTable(QStandardItemModel& model, TripReportKind kind, const TrackSummary& summary) {
    model.clear();
    model.setSortRole(TrackSortRole);
    model.setHorizontalHeaderLabels(trackTableHeaders(kind));
    const auto rows = trackTableRows(kind, summary);
    for (std::size_t index = 0; index < rows.size(); ++index) {
        QList<QStandardItem*> items;
        for (const TrackCell& cell : rows[index]) {
            auto* item = new QStandardItem(cell.text);
            item->setData(cell.sortKey, TrackSortRole);
            item->setEditable(false);
            // Numbers line up at the right, as a table of figures reads.
            if (cell.sortKey.typeId() != QMetaType::QString) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            items.append(item);
        }
        items.front()->setData(static_cast<qulonglong>(index), TrackItemRole);
        model.appendRow(items);
    }
}

}  // namespace kv820
