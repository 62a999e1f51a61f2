#include "core/store/row_follower.h"

namespace kv820 {

bool RowFollower::take(std::int64_t rowid) {
    return rowid > settled_ && readAbove_.insert(rowid).second;
}

void RowFollower::settle(std::chrono::milliseconds now) {
    const auto closeUp = [this] {
        while (!readAbove_.empty() && *readAbove_.begin() == settled_ + 1) {
            settled_ = *readAbove_.begin();
            readAbove_.erase(readAbove_.begin());
        }
    };
    closeUp();
    if (readAbove_.empty()) {
        gapSince_.reset();
        return;
    }
    if (!gapSince_) {
        gapSince_ = now;
    } else if (now - *gapSince_ >= patience_) {
        // The lowest gap is given up; the next one gets its own patience.
        settled_ = *readAbove_.begin() - 1;
        closeUp();
        gapSince_ = readAbove_.empty() ? std::nullopt : std::optional(now);
    }
}

}  // namespace kv820
