#pragma once

#include <cstdint>
#include <optional>

#include "core/common/great_circle.h"
#include "core/common/number_text.h"
#include "core/report/report_kinds.h"

namespace kv820 {

struct ReportRowView;

// One report with a fix: its moment on the local calendar (local_moment.h), its place and
// the speed it carries.
struct TrackFix {
    std::int64_t moment = 0;
    GeoPoint position;
    double speedKmh = 0;
};

// The position of a report with a fix and valid degrees; a PositionReport or a stored row.
template <typename Report>
std::optional<GeoPoint> fixPositionOf(const Report& report) {
    if (report.gpsStatus == NoFixText || !isDecimalWithin(report.gpsPosLat, 90) ||
        !isDecimalWithin(report.gpsPosLon, 180)) {
        return std::nullopt;
    }
    return GeoPoint{leadingDecimal(report.gpsPosLat), leadingDecimal(report.gpsPosLon)};
}

// The fix of a stored row, as the trip finder reads it; nothing for a row without a fix or
// whose GPS time is no moment.
std::optional<TrackFix> trackFixOf(const ReportRowView& row);

}  // namespace kv820
