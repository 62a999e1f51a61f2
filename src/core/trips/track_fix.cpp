#include "core/trips/track_fix.h"

#include "core/records/report_row_view.h"
#include "core/trips/local_moment.h"

namespace kv820 {

std::optional<TrackFix> trackFixOf(const ReportRowView& row) {
    const std::optional<std::int64_t> moment = localSecondsOf(row.gpsDate, row.gpsTime);
    const std::optional<GeoPoint> position = fixPositionOf(row);
    if (!moment || !position) {
        return std::nullopt;
    }
    return TrackFix{*moment, *position, leadingDecimal(row.gpsSpeed, false)};
}

}  // namespace kv820
