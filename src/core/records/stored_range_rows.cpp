#include "core/records/stored_range_rows.h"

#include "core/store/database_error.h"

namespace kv820 {

ReportRowView ReportRowViewOf(const GpslogRow& row) {
    return {row[ReceiveDate], row[ReceiveTime],  row[GpsPosLat], row[GpsPosLon],
            row[GpsDate],     row[GpsTime],      row[GpsStatus], row[GpsAltitude],
            row[GpsSpeed],    row[GpsDirection], row[GpsNumber], row[MessageStatus]};
}

bool StoredRangeRows::forEachOldestFirst(const Visitor& visit) const {
    try {
        GpslogStore(db_).forEachOldestFirst(
            range_, [&visit](const GpslogRow& row) { return visit(ReportRowViewOf(row)); });
    } catch (const DatabaseError&) {
        return false;
    }
    return true;
}

}  // namespace kv820
