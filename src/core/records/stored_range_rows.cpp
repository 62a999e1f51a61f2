#include "core/records/stored_range_rows.h"

#include <algorithm>

#include "core/store/database_error.h"

namespace kv820 {

ReportRowView reportRowViewOf(const GpslogRow& row) {
    GpslogRowView texts;
    std::copy(row.begin(), row.end(), texts.begin());
    return reportRowViewOf(texts);
}

ReportRowView reportRowViewOf(const GpslogRowView& row) {
    ReportRowView view;
    for (std::size_t c = 0; c < GpslogColumnCount; ++c) {
        view.*ReportRowViewMembers[c] = row[c];
    }
    return view;
}

bool StoredRangeRows::forEachOldestFirst(const Visitor& visit) const {
    try {
        GpslogStore(db_).forEachOldestFirst(
            range_, [&visit](const GpslogRow& row) { return visit(reportRowViewOf(row)); });
    } catch (const DatabaseError&) {
        return false;
    }
    return true;
}

}  // namespace kv820
