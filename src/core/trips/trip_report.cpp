#include "core/trips/trip_report.h"

#include <algorithm>

#include "core/records/export_file.h"
#include "core/records/stored_range_rows.h"
#include "core/store/gpslog_store.h"
#include "core/trips/track_csv.h"
#include "core/trips/trip_finder.h"

namespace kv820 {

namespace {

// Read in the receive index's order, which needs no sort of the range: a late SMS is
// put back in place by the finder. Only the columns the finder reads are read.
TrackSummary summarizeStored(Database& db, const GpsMomentRange& range,
                             const TripSettings& settings) {
    static constexpr GpslogColumn Columns[] = {GpsDate,   GpsTime,   GpsStatus,
                                               GpsPosLat, GpsPosLon, GpsSpeed};
    TripFinder finder(settings);
    GpslogStore(db).forEachByReceiveInGpsRange(range, Columns, [&finder](const GpslogRowView& row) {
        finder.add(reportRowViewOf(row));
        return true;
    });
    return finder.finish();
}

bool writeKind(TextSink& sink, TripReportKind kind, const TrackSummary& summary) {
    switch (kind) {
        case TripReportKind::Trips:
            return writeTripsCsv(sink, summary.trips);
        case TripReportKind::Stops:
            return writeStopsCsv(sink, summary.stops);
        case TripReportKind::Summary:
            return writeDaySummariesCsv(sink, summary.days);
    }
    return false;
}

}  // namespace

std::optional<TripReportKind> tripReportKindNamed(std::string_view name) {
    const auto found = std::find(TripReportNames.begin(), TripReportNames.end(), name);
    if (found == TripReportNames.end()) {
        return std::nullopt;
    }
    return static_cast<TripReportKind>(found - TripReportNames.begin());
}

std::string writeUserTripReport(Database& db, const UserRangeRequest& request, TripReportKind kind,
                                TextSink& sink, const TripSettings& settings) {
    const ResolvedUserRange resolved = resolveUserRange(db, request);
    if (!resolved.user) {
        return resolved.error;
    }
    const TrackSummary summary =
        summarizeStored(db, {resolved.user->imei, request.from, request.to}, settings);
    return writeKind(sink, kind, summary) ? "" : "The report could not be written.";
}

ExportResult writeTripReportFile(const std::filesystem::path& path, TripReportKind kind,
                                 const TrackSummary& summary) {
    ExportFile file(path);
    if (!file.open()) {
        return {ExportOutcome::NoFileExistence, file.failureReason()};
    }
    if (!writeKind(file, kind, summary)) {
        file.discard();
        return {ExportOutcome::WriteFailure, file.failureReason()};
    }
    if (!file.commit()) {
        return {ExportOutcome::WriteFailure, file.failureReason()};
    }
    return {};
}

}  // namespace kv820
