#include "core/store/gpslog_store.h"

#include <string_view>

#include "core/store/database.h"
#include "core/store/database_error.h"
#include "core/store/statement.h"

namespace kv820 {

namespace {

std::string Placeholder(std::size_t column) {
    return "?" + std::to_string(column + 1);
}

// One text per column, in table order, joined by `separator`.
std::string JoinColumns(std::string_view separator,
                        const std::function<std::string(GpslogColumn)>& text) {
    std::string joined;
    for (std::size_t c = 0; c < GpslogColumnCount; ++c) {
        joined += c == 0 ? "" : separator;
        joined += text(static_cast<GpslogColumn>(c));
    }
    return joined;
}

}  // namespace

const std::string& GpslogColumnList() {
    static const std::string list =
        JoinColumns(", ", [](GpslogColumn c) { return std::string(GpslogColumnNames[c]); });
    return list;
}

const std::string& GpslogIncompleteCondition() {
    static const std::string condition = JoinColumns(
        " OR ", [](GpslogColumn c) { return std::string(GpslogColumnNames[c]) + " IS NULL"; });
    return condition;
}

namespace {

const std::string& InsertSql() {
    static const std::string sql = "INSERT INTO gpslog (" + GpslogColumnList() + ") VALUES (" +
                                   JoinColumns(",", Placeholder) + ")";
    return sql;
}

// The unary "+" keeps SQLite from substituting the receive placeholders into the moment
// expression (constant propagation), which would hide it from the index: every check would
// then scan all of the tracker's rows.
const std::string& ContainsSql() {
    static const std::string sql =
        "SELECT 1 FROM gpslog WHERE " +
        JoinColumns(" AND ",
                    [](GpslogColumn c) {
                        std::string term = c == ReceiveDate || c == ReceiveTime ? "+" : "";
                        term += std::string(GpslogColumnNames[c]) + "=" + Placeholder(c);
                        if (c == Imei) {
                            term += " AND receive_date||receive_time=" + Placeholder(ReceiveDate) +
                                    "||" + Placeholder(ReceiveTime);
                        }
                        return term;
                    }) +
        " LIMIT 1";
    return sql;
}

const std::string& SelectSql() {
    static const std::string sql = "SELECT rowid, " + GpslogColumnList() + " FROM gpslog";
    return sql;
}

constexpr const char* InRange =
    " WHERE imei=?1 and receive_date||receive_time>=?2 and receive_date||receive_time<=?3";

// Rows a crash or another program left with a column missing are never listed.
std::string CompleteOnly() {
    return " AND NOT (" + GpslogIncompleteCondition() + ")";
}

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
    const std::string where = std::string(" WHERE ") + GpslogIncompleteCondition();
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
    Statement insert(db_, InsertSql());
    for (std::size_t c = 0; c < GpslogColumnCount; ++c) {
        insert.bind(static_cast<int>(c) + 1, row[c]);
    }
    insert.run();
}

bool GpslogStore::contains(const GpslogRow& row) {
    Statement query(db_, ContainsSql());
    for (std::size_t c = 0; c < GpslogColumnCount; ++c) {
        query.bind(static_cast<int>(c) + 1, row[c]);
    }
    return query.step();
}

std::vector<StoredGpslogRow> GpslogStore::newestFirst(const ReceiveRange& range,
                                                      const std::optional<HistoryPosition>& after,
                                                      std::size_t limit) {
    std::string sql = SelectSql() + InRange + CompleteOnly();
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
    Statement query(db_, SelectSql() + InRange + CompleteOnly() +
                             " ORDER BY receive_date||receive_time ASC, rowid ASC");
    BindRange(query, range);
    while (query.step()) {
        if (!visit(ReadRow(query).row)) {
            return;
        }
    }
}

}  // namespace kv820
