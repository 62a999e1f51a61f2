#pragma once

#include "core/records/report_row_view.h"

namespace kv820 {

// A report is drawn on a track unless its position is missing ("NO" as latitude or
// longitude) or it has no fix ("No Fix"); the comparisons are exact.
bool IsTrackPoint(const ReportRowView& row);

// True when the report has a fix, whatever its position texts say.
bool HasFix(const ReportRowView& row);

}  // namespace kv820
