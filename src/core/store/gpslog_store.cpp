#include "core/store/gpslog_store.h"

#include <string_view>

#include "core/store/database.h"
#include "core/store/database_error.h"
#include "core/store/statement.h"

namespace kv820 {

namespace {

std::string placeholder(std::size_t column) {
    return "?" + std::to_string(column + 1);
}

// One text per column, in table order, joined by `separator`.
std::string joinColumns(std::string_view separator,
                        const std::function<std::string(GpslogColumn)>& text) {
    std::string joined;
    for (std::size_t c = 0; c < GpslogColumnCount; ++c) {
        joined += c == 0 ? "" : separator;
        joined += text(static_cast<GpslogColumn>(c));
    }
    return joined;
}

}  // namespace

const std::string& gpslogColumnList() {
    static const std::string List =
        joinColumns(", ", [](GpslogColumn c) { return std::string(GpslogColumnNames[c]); });
    return List;
}

const std::string& gpslogIncompleteCondition() {
    static const std::string Condition = joinColumns(
        " OR ", [](GpslogColumn c) { return std::string(GpslogColumnNames[c]) + " IS NULL"; });
    return Condition;
}

namespace {

// A shared database has a unique key over the whole row: when two receivers store copies
// of one report at once, the second insert does nothing. The file has no such key (its
// schema stays as it always was); there, one receiver checks before it stores.
const std::string& insertSql() {
    static const std::string Sql = "INSERT INTO gpslog (" + gpslogColumnList() + ") VALUES (" +
                                   joinColumns(",", placeholder) + ") ON CONFLICT DO NOTHING";
    return Sql;
}

// The unary "+" keeps SQLite from substituting the receive placeholders into the moment
// expression (constant propagation), which would hide it from the index: every check would
// then scan all of the tracker's rows. PostgreSQL has no "+" for text, nor the need.
std::string containsSql(Database::Kind kind) {
    const bool unaryPlus = kind == Database::Kind::Sqlite;
    return "SELECT 1 FROM gpslog WHERE " +
           joinColumns(" AND ",
                       [unaryPlus](GpslogColumn c) {
                           std::string term =
                               unaryPlus && (c == ReceiveDate || c == ReceiveTime) ? "+" : "";
                           term += std::string(GpslogColumnNames[c]) + "=" + placeholder(c);
                           if (c == Imei) {
                               term +=
                                   " AND receive_date||receive_time=" + placeholder(ReceiveDate) +
                                   "||" + placeholder(ReceiveTime);
                           }
                           return term;
                       }) +
           " LIMIT 1";
}

const std::string& selectSql() {
    static const std::string Sql = "SELECT rowid, " + gpslogColumnList() + " FROM gpslog";
    return Sql;
}

constexpr const char* InRange =
    " WHERE imei=?1 and receive_date||receive_time>=?2 and receive_date||receive_time<=?3";

// Rows a crash or another program left with a column missing are never listed.
std::string completeOnly() {
    return " AND NOT (" + gpslogIncompleteCondition() + ")";
}

StoredGpslogRow readRow(const Statement& statement) {
    StoredGpslogRow stored;
    stored.rowid = statement.integer(0);
    for (std::size_t c = 0; c < GpslogColumnCount; ++c) {
        stored.row[c] = statement.text(static_cast<int>(c) + 1).value_or(std::string());
    }
    return stored;
}

void bindRange(Statement& statement, const ReceiveRange& range) {
    statement.bind(1, range.imei).bind(2, range.from).bind(3, range.to);
}

}  // namespace

int GpslogStore::PurgeIncompleteGpslogRows() {
    if (db_.kind() != Database::Kind::Sqlite) {
        // A server writes a row whole or not at all: a row with a column missing was put
        // there on purpose by someone's own SQL, and a desk that may not delete reports
        // must start all the same. It is left out of every read.
        return 0;
    }
    const std::string where = std::string(" WHERE ") + gpslogIncompleteCondition();
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

bool GpslogStore::append(const GpslogRow& row) {
    Statement insert(db_, insertSql());
    for (std::size_t c = 0; c < GpslogColumnCount; ++c) {
        insert.bind(static_cast<int>(c) + 1, row[c]);
    }
    insert.run();
    return db_.changes() > 0;
}

bool GpslogStore::contains(const GpslogRow& row) {
    static const std::string SqliteSql = containsSql(Database::Kind::Sqlite);
    static const std::string PostgresSql = containsSql(Database::Kind::Postgres);
    Statement query(db_, db_.kind() == Database::Kind::Sqlite ? SqliteSql : PostgresSql);
    for (std::size_t c = 0; c < GpslogColumnCount; ++c) {
        query.bind(static_cast<int>(c) + 1, row[c]);
    }
    return query.step();
}

std::vector<StoredGpslogRow> GpslogStore::newestFirst(const ReceiveRange& range,
                                                      const std::optional<HistoryPosition>& after,
                                                      std::size_t limit) {
    std::string sql = selectSql() + InRange + completeOnly();
    if (after) {
        sql += " AND (receive_date||receive_time, rowid) < (?4, ?5)";
    }
    sql += " ORDER BY receive_date||receive_time DESC, rowid DESC LIMIT ?6";
    Statement query(db_, sql);
    bindRange(query, range);
    if (after) {
        query.bind(4, after->moment).bind(5, after->rowid);
    }
    query.bind(6, static_cast<std::int64_t>(limit));
    std::vector<StoredGpslogRow> rows;
    while (query.step()) {
        rows.push_back(readRow(query));
    }
    return rows;
}

std::int64_t GpslogStore::lastRowid() {
    Statement query(db_, "SELECT max(rowid) FROM gpslog");
    return query.step() && !query.isNull(0) ? query.integer(0) : 0;
}

std::vector<StoredGpslogRow> GpslogStore::rowsAbove(std::int64_t rowid, std::size_t limit) {
    Statement query(
        db_, selectSql() + " WHERE rowid > ?1" + completeOnly() + " ORDER BY rowid LIMIT ?2");
    query.bind(1, rowid).bind(2, static_cast<std::int64_t>(limit));
    std::vector<StoredGpslogRow> rows;
    while (query.step()) {
        rows.push_back(readRow(query));
    }
    return rows;
}

void GpslogStore::forEachOldestFirst(const ReceiveRange& range,
                                     const std::function<bool(const GpslogRow&)>& visit) {
    Statement query(db_, selectSql() + InRange + completeOnly() +
                             " ORDER BY receive_date||receive_time ASC, rowid ASC");
    bindRange(query, range);
    while (query.step()) {
        if (!visit(readRow(query).row)) {
            return;
        }
    }
}

void GpslogStore::forEachByReceiveInGpsRange(
    const GpsMomentRange& range, std::span<const GpslogColumn> columns,
    const std::function<bool(const GpslogRowView&)>& visit) {
    std::string list;
    for (const GpslogColumn column : columns) {
        list += (list.empty() ? "" : ", ") + std::string(GpslogColumnNames[column]);
    }
    // The incomplete rows are looked up once in their partial index (usually empty) instead
    // of testing thirteen columns of every row: a fifth of a year's reading.
    Statement query(db_,
                    "SELECT " + list +
                        " FROM gpslog WHERE imei=?1 AND gps_date||' '||gps_time BETWEEN ?2 "
                        "AND ?3 AND rowid NOT IN (SELECT rowid FROM gpslog WHERE imei=?1 AND (" +
                        gpslogIncompleteCondition() +
                        ")) ORDER BY receive_date||receive_time ASC, rowid ASC");
    query.bind(1, range.imei).bind(2, range.from).bind(3, range.to);
    GpslogRowView row;
    while (query.step()) {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            row[columns[i]] = query.textView(static_cast<int>(i));
        }
        if (!visit(row)) {
            return;
        }
    }
}

}  // namespace kv820
