#include "core/records/report_history.h"

namespace kv820 {

std::vector<StoredGpslogRow> ReportHistoryPage(GpslogStore& store, const ReceiveRange& range,
                                               const std::optional<HistoryPosition>& after,
                                               std::size_t limit) {
    if (!after) {
        store.deleteIncomplete(range);
    }
    return store.newestFirst(range, after, limit);
}

}  // namespace kv820
