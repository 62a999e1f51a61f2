#include "core/store/database.h"

#include <sqlite3.h>

#include "core/store/database_error.h"

namespace kv820 {

namespace {
constexpr int BusyTimeoutMs = 5000;
}

Database::Database(const std::string& path, Mode mode) : path_(path) {
    int flags = (mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) |
                SQLITE_OPEN_NOMUTEX;
    if (mode == Mode::Create) {
        flags |= SQLITE_OPEN_CREATE;
    }
    const int rc = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        const std::string why = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close(db_);
        db_ = nullptr;
        throw DatabaseError("cannot open " + path + ": " + why);
    }
    sqlite3_busy_timeout(db_, BusyTimeoutMs);
    try {
        // Reading the schema proves the file is a database, not just a file.
        execute("PRAGMA schema_version");
        if (mode == Mode::ReadOnly) {
            execute("PRAGMA query_only=1");
        } else {
            execute("PRAGMA journal_mode=WAL");
        }
    } catch (...) {
        sqlite3_close(db_);
        db_ = nullptr;
        throw;
    }
}

Database::~Database() {
    sqlite3_close(db_);
}

void Database::execute(const char* sql) {
    char* error = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        std::string why = error ? error : sqlite3_errmsg(db_);
        sqlite3_free(error);
        throw DatabaseError(why);
    }
}

std::int64_t Database::lastInsertRowId() const {
    return sqlite3_last_insert_rowid(db_);
}

int Database::changes() const {
    return sqlite3_changes(db_);
}

}  // namespace kv820
