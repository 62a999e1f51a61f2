#include "core/records/track_point.h"

#include "core/modem/report_kinds.h"

namespace kv820 {

bool HasFix(const ReportRowView& row) {
    return row.gpsStatus != NoFixText;
}

bool IsTrackPoint(const ReportRowView& row) {
    return row.gpsPosLat != "NO" && row.gpsPosLon != "NO" && HasFix(row);
}

}  // namespace kv820
