#include "core/records/track_point.h"

namespace kv820 {

bool HasFix(const ReportRowView& row) {
    return row.gpsStatus != "No Fix";
}

bool IsTrackPoint(const ReportRowView& row) {
    return row.gpsPosLat != "NO" && row.gpsPosLon != "NO" && HasFix(row);
}

}  // namespace kv820
