#pragma once

#include "core/records/report_rows.h"
#include "core/store/gpslog_store.h"

namespace kv820 {

class Database;

// The texts of a stored row as the record lists show them; the views point into `row`.
ReportRowView reportRowViewOf(const GpslogRow& row);
ReportRowView reportRowViewOf(const GpslogRowView& row);

// The stored reports of one receive range, read from the database on every walk, oldest
// first, so that an export streams a result of any size. Incomplete rows are never handed
// out. A database failure ends the walk as unreadable.
class StoredRangeRows final : public ReportRows {
  public:
    StoredRangeRows(Database& db, ReceiveRange range) : db_(db), range_(std::move(range)) {}

    bool forEachOldestFirst(const Visitor& visit) const override;

  private:
    Database& db_;
    ReceiveRange range_;
};

}  // namespace kv820
