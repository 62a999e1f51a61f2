#include "core/store/sqlite_engine.h"

#include <sqlite3.h>

#include "core/store/database_error.h"

namespace kv820 {

namespace {

constexpr int BusyTimeoutMs = 5000;

class SqliteStatement : public PreparedStatement {
  public:
    SqliteStatement(sqlite3* db, std::string_view sql) : db_(db) {
        if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr) !=
            SQLITE_OK) {
            fail();
        }
    }
    ~SqliteStatement() override { sqlite3_finalize(stmt_); }
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    void bindText(int index, std::string_view text) override {
        check(sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()),
                                SQLITE_TRANSIENT));
    }
    void bindInteger(int index, std::int64_t value) override {
        check(sqlite3_bind_int64(stmt_, index, value));
    }
    void bindBlob(int index, std::string_view bytes) override {
        check(sqlite3_bind_blob64(stmt_, index, bytes.data(), bytes.size(), SQLITE_TRANSIENT));
    }
    void bindNull(int index) override { check(sqlite3_bind_null(stmt_, index)); }

    bool step() override {
        const int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW) {
            return true;
        }
        if (rc != SQLITE_DONE) {
            fail();
        }
        return false;
    }
    void reset() override {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }

    std::string_view textView(int column) const override {
        return bytesOf(sqlite3_column_text(stmt_, column), column);
    }
    std::int64_t integer(int column) const override { return sqlite3_column_int64(stmt_, column); }
    std::string_view blob(int column) const override {
        return bytesOf(sqlite3_column_blob(stmt_, column), column);
    }
    bool isNull(int column) const override {
        return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
    }
    int columnCount() const override { return sqlite3_column_count(stmt_); }

  private:
    [[noreturn]] void fail() const { throw DatabaseError(sqlite3_errmsg(db_)); }
    void check(int rc) const {
        if (rc != SQLITE_OK) {
            fail();
        }
    }
    // SQLite gives NULL both for a NULL value and when it ran out of memory converting one.
    std::string_view bytesOf(const void* value, int column) const {
        if (value == nullptr) {
            if (sqlite3_errcode(db_) == SQLITE_NOMEM) {
                fail();
            }
            return {};
        }
        return {static_cast<const char*>(value),
                static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column))};
    }

    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

// The program opens KV820Y.mdb read-write and never creates it; only the --create-database
// command uses Mode::Create. WAL and a busy time-out let the reception thread write while
// the window reads. Files that are not the program's own (a map's tile file) are opened
// with Mode::ReadOnly: SQLite refuses every write then, and the journal mode is left as the
// file has it.
class SqliteEngine : public DatabaseEngine {
  public:
    SqliteEngine(const std::string& path, Database::Mode mode) {
        int flags =
            (mode == Database::Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) |
            SQLITE_OPEN_NOMUTEX;
        if (mode == Database::Mode::Create) {
            flags |= SQLITE_OPEN_CREATE;
        }
        const int rc = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
        if (rc != SQLITE_OK) {
            const std::string why = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
            sqlite3_close(db_);
            throw DatabaseError("cannot open " + path + ": " + why);
        }
        sqlite3_busy_timeout(db_, BusyTimeoutMs);
        try {
            // Reading the schema proves the file is a database, not just a file.
            execute("PRAGMA schema_version");
            execute(mode == Database::Mode::ReadOnly ? "PRAGMA query_only=1"
                                                     : "PRAGMA journal_mode=WAL");
        } catch (...) {
            sqlite3_close(db_);
            throw;
        }
    }
    ~SqliteEngine() override { sqlite3_close(db_); }
    SqliteEngine(const SqliteEngine&) = delete;
    SqliteEngine& operator=(const SqliteEngine&) = delete;

    std::unique_ptr<PreparedStatement> prepare(std::string_view sql) override {
        return std::make_unique<SqliteStatement>(db_, sql);
    }
    void execute(const std::string& sql) override {
        char* error = nullptr;
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            std::string why = error ? error : sqlite3_errmsg(db_);
            sqlite3_free(error);
            throw DatabaseError(why);
        }
    }
    int changes() const override { return sqlite3_changes(db_); }
    const char* tableNamesSql() const override {
        return "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE "
               "'sqlite\\_%' ESCAPE '\\' ORDER BY name";
    }
    const char* columnNamesSql() const override {
        return "SELECT name FROM pragma_table_info(?1) ORDER BY cid";
    }
    // Changes whenever another connection commits to the file; our own commits leave it.
    std::int64_t dataVersion() override {
        SqliteStatement query(db_, "PRAGMA data_version");
        return query.step() ? query.integer(0) : 0;
    }
    const char* beginSql() const override { return "BEGIN IMMEDIATE"; }
    // A file's other users are its other connections, which look at dataVersion.
    void listen(std::string_view) override {}
    void notify(std::string_view) override {}
    std::vector<std::string> takeNotifications() override { return {}; }
    int notificationSocket() const override { return -1; }
    void reconnect() override {}

  private:
    sqlite3* db_ = nullptr;
};

}  // namespace

std::unique_ptr<DatabaseEngine> openSqliteEngine(const std::string& path, Database::Mode mode) {
    return std::make_unique<SqliteEngine>(path, mode);
}

}  // namespace kv820
