#include "core/store/gpslog_store.h"

#include "core/store/database.h"
#include "core/store/database_error.h"
#include "core/store/statement.h"

namespace kv820 {

const char* const GpslogIncompleteCondition =
    "imei IS NULL OR receive_date IS NULL OR receive_time IS NULL OR gps_pos_lat IS NULL "
    "OR gps_pos_lon IS NULL OR gps_date IS NULL OR gps_time IS NULL OR gps_status IS NULL "
    "OR gps_altitude IS NULL OR gps_speed IS NULL OR gps_direction IS NULL "
    "OR gps_number IS NULL OR message_status IS NULL";

namespace {

constexpr const char* Columns =
    "rowid, imei, receive_date, receive_time, gps_pos_lat, gps_pos_lon, gps_date, gps_time, "
    "gps_status, gps_altitude, gps_speed, gps_direction, gps_number, message_status";

constexpr const char* InRange =
    " WHERE imei=?1 and receive_date||receive_time>=?2 and receive_date||receive_time<=?3";

StoredGpslogRow ReadRow(const Statement& statement) {
    StoredGpslogRow stored;
    stored.rowid = statement.integer(0);
    for (std::size_t c = 0; c < GpslogColumnCount; ++c) {
        stored.row[c] = statement.text(static_cast<int>(c) + 1).value_or(std::string());
    }
    return stored;
}

void BindRange(Statement& statement, const ReceiveRange& range) {
    statement.bind(1, range.imei).bind(2, range.from).bind(3, range.to);
}

}  // namespace

int GpslogStore::PurgeIncompleteGpslogRows() {
    const std::string where = std::string(" WHERE ") + GpslogIncompleteCondition;
    try {
        // The partial index lists exactly the incomplete rows: no table scan.
        Statement(db_,
                  "DELETE FROM gpslog WHERE rowid IN (SELECT rowid FROM gpslog "
                  "INDEXED BY gpslog_incomplete" +
                      where + ")")
            .run();
    } catch (const DatabaseError&) {
        // A file made elsewhere may lack the index; the plain delete gives the same result.
        Statement(db_, "DELETE FROM gpslog" + where).run();
    }
    return db_.changes();
}

void GpslogStore::append(const GpslogRow& row) {
    Statement insert(db_,
                     "INSERT INTO gpslog (imei, receive_date, receive_time, gps_pos_lat, "
                     "gps_pos_lon, gps_date, gps_time, gps_status, gps_altitude, gps_speed, "
                     "gps_direction, gps_number, message_status) "
                     "VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13)");
    for (std::size_t c = 0; c < GpslogColumnCount; ++c) {
        insert.bind(static_cast<int>(c) + 1, row[c]);
    }
    insert.run();
}

bool GpslogStore::contains(const GpslogRow& row) {
    Statement query(db_,
                    "SELECT 1 FROM gpslog WHERE imei=?1 AND receive_date||receive_time=?2||?3 "
                    "AND +receive_date=?2 AND +receive_time=?3 AND gps_pos_lat=?4 "
                    "AND gps_pos_lon=?5 AND gps_date=?6 AND gps_time=?7 AND gps_status=?8 "
                    "AND gps_altitude=?9 AND gps_speed=?10 AND gps_direction=?11 "
                    "AND gps_number=?12 AND message_status=?13 LIMIT 1");
    // The unary "+" keeps SQLite from substituting ?2 and ?3 into the moment expression
    // (constant propagation), which would hide it from the index: every check would then
    // scan all of the tracker's rows.
    for (std::size_t c = 0; c < GpslogColumnCount; ++c) {
        query.bind(static_cast<int>(c) + 1, row[c]);
    }
    return query.step();
}

int GpslogStore::deleteIncomplete(const ReceiveRange& range) {
    const std::string incompleteInRange =
        std::string(InRange) + " AND (" + GpslogIncompleteCondition + ")";
    std::optional<Statement> remove;
    try {
        // Through the partial index only the tracker's incomplete rows are visited, not
        // every row of the range (a two-year history may hold a hundred thousand).
        remove.emplace(db_,
                       "DELETE FROM gpslog WHERE rowid IN (SELECT rowid FROM gpslog "
                       "INDEXED BY gpslog_incomplete" +
                           incompleteInRange + ")");
    } catch (const DatabaseError&) {
        // A file made elsewhere may lack the index; the plain delete gives the same result.
        remove.emplace(db_, "DELETE FROM gpslog" + incompleteInRange);
    }
    BindRange(*remove, range);
    remove->run();
    return db_.changes();
}

std::vector<StoredGpslogRow> GpslogStore::newestFirst(const ReceiveRange& range,
                                                      const std::optional<HistoryPosition>& after,
                                                      std::size_t limit) {
    std::string sql = std::string("SELECT ") + Columns + " FROM gpslog" + InRange;
    if (after) {
        sql += " AND (receive_date||receive_time, rowid) < (?4, ?5)";
    }
    sql += " ORDER BY receive_date||receive_time DESC, rowid DESC LIMIT ?6";
    Statement query(db_, sql);
    BindRange(query, range);
    if (after) {
        query.bind(4, after->moment).bind(5, after->rowid);
    }
    query.bind(6, static_cast<std::int64_t>(limit));
    std::vector<StoredGpslogRow> rows;
    while (query.step()) {
        rows.push_back(ReadRow(query));
    }
    return rows;
}

void GpslogStore::forEachOldestFirst(const ReceiveRange& range,
                                     const std::function<bool(const GpslogRow&)>& visit) {
    Statement query(db_, std::string("SELECT ") + Columns + " FROM gpslog" + InRange +
                             " AND NOT (" + GpslogIncompleteCondition + ")" +
                             " ORDER BY receive_date||receive_time ASC, rowid ASC");
    BindRange(query, range);
    while (query.step()) {
        if (!visit(ReadRow(query).row)) {
            return;
        }
    }
}

}  // namespace kv820
