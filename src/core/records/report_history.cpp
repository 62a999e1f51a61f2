#include "core/records/report_history.h"

namespace kv820 {

std::vector<StoredGpslogRow> LoadReportHistory(GpslogStore& store, const ReceiveRange& range,
                                               std::size_t limit) {
    store.deleteIncomplete(range);
    return store.newestFirst(range, std::nullopt, limit);
}

}  // namespace kv820
