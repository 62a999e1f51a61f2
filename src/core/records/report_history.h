#pragma once

#include <cstddef>
#include <vector>

#include "core/store/gpslog_store.h"

namespace kv820 {

// Rows the report list shows at once; further rows are fetched page by page.
inline constexpr std::size_t ReportHistoryScreenRows = 50;

// The first screen of a tracker's reports in a range, newest first. Incomplete rows of
// the range are deleted first, so they are never shown. Throws DatabaseError.
std::vector<StoredGpslogRow> LoadReportHistory(GpslogStore& store, const ReceiveRange& range,
                                               std::size_t limit = ReportHistoryScreenRows);

}  // namespace kv820
