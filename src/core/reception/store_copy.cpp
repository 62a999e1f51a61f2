#include "core/reception/store_copy.h"

#include <algorithm>

#include "core/alarms/forward_store.h"
#include "core/commands/command_queue.h"
#include "core/store/database.h"
#include "core/store/database_error.h"
#include "core/store/schema.h"
#include "core/store/statement.h"
#include "core/store/transaction.h"
#include "core/store/user_slots.h"

namespace kv820 {

namespace {

// The names come from the source's own catalogue, never from a user: quoted all the same.
std::string quoted(const std::string& name) {
    std::string text = "\"";
    for (const char c : name) {
        text += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return text + "\"";
}

bool contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// SQLite keeps a row number in every table; a shared database has it as a column where
// the file has no key of its own (users, gpslog).
bool hasRowid(Database& db, const std::vector<std::string>& columns) {
    return db.kind() == Database::Kind::Sqlite || contains(columns, "rowid");
}

std::int64_t rowCount(Database& db, const std::string& table) {
    Statement count(db, "SELECT COUNT(*) FROM " + quoted(table));
    return count.step() ? count.integer(0) : 0;
}

// The columns both sides have, with the row number first where both keep one.
std::vector<std::string> copiedColumns(Database& from, Database& to, const std::string& table) {
    const std::vector<std::string> source = from.columnNames(table);
    const std::vector<std::string> target = to.columnNames(table);
    std::vector<std::string> columns;
    if (!contains(source, "id") && hasRowid(from, source) && hasRowid(to, target)) {
        columns.emplace_back("rowid");
    }
    for (const std::string& column : source) {
        if (column != "rowid" && contains(target, column)) {
            columns.push_back(column);
        }
    }
    return columns;
}

std::int64_t copyTable(Database& from, Database& to, const std::string& table) {
    const std::vector<std::string> columns = copiedColumns(from, to, table);
    if (columns.empty()) {
        return 0;
    }
    std::string list;
    std::string marks;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        list += (i == 0 ? "" : ", ") + quoted(columns[i]);
        marks += (i == 0 ? "?" : ", ?") + std::to_string(i + 1);
    }
    Statement read(from, "SELECT " + list + " FROM " + quoted(table) + " ORDER BY 1");
    Statement write(to, "INSERT INTO " + quoted(table) + " (" + list + ") VALUES (" + marks + ")");
    std::int64_t copied = 0;
    while (read.step()) {
        write.reset();
        for (std::size_t i = 0; i < columns.size(); ++i) {
            write.bindOrNull(static_cast<int>(i) + 1, read.text(static_cast<int>(i)));
        }
        write.run();
        ++copied;
    }
    return copied;
}

// Rows given their numbers leave a shared database's counters behind: the next row
// numbered by the database would meet one copied.
void advanceCounters(Database& to, const std::string& table) {
    if (to.kind() != Database::Kind::Postgres) {
        return;
    }
    for (const std::string& column : to.columnNames(table)) {
        if (column == "rowid" || column == "id") {
            Statement(to, "SELECT setval(pg_get_serial_sequence(?1, ?2), COALESCE(MAX(" +
                              quoted(column) + "), 0) + 1, false) FROM " + quoted(table))
                .bind(1, table)
                .bind(2, column)
                .run();
        }
    }
}

}  // namespace

void ensureEveryTable(Database& db) {
    if (!db.hasTable("users") && !db.hasTable("gpslog")) {
        createStoreTables(db);
    }
    ForwardStore::ensureTables(db);  // with the alarms' tables it names
    ensureProgramSettingsTable(db);
    CommandQueue::ensureTable(db);
}

StoreCopyCount copyStore(Database& from, Database& to) {
    Transaction transaction(to);
    ensureEveryTable(to);
    if (rowCount(to, "users") > 0 || rowCount(to, "gpslog") > 0) {
        throw DatabaseError("the target holds users or reports already");
    }
    StoreCopyCount count;
    const std::vector<std::string> targetTables = to.tableNames();
    for (const std::string& table : from.tableNames()) {
        if (!contains(targetTables, table)) {
            count.skippedTables.push_back(table);
            continue;
        }
        const std::int64_t copied = copyTable(from, to, table);
        advanceCounters(to, table);
        (table == "users"    ? count.users
         : table == "gpslog" ? count.reports
                             : count.otherRows) += copied;
    }
    transaction.commit();
    return count;
}

}  // namespace kv820
