#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "core/store/gpslog_store.h"

namespace kv820 {

// Rows fetched at once as the report list scrolls to them.
inline constexpr std::size_t ReportHistoryPageRows = 256;

// One page of a tracker's reports in a range, newest first. The first page (no `after`)
// deletes the range's incomplete rows before it reads, so they are never shown; a later
// page goes on after the last row of the page before. Throws DatabaseError.
std::vector<StoredGpslogRow> ReportHistoryPage(GpslogStore& store, const ReceiveRange& range,
                                               const std::optional<HistoryPosition>& after,
                                               std::size_t limit = ReportHistoryPageRows);

}  // namespace kv820
