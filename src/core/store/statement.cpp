#include "core/store/statement.h"

#include <sqlite3.h>

#include "core/store/database.h"
#include "core/store/database_error.h"

namespace kv820 {

Statement::Statement(Database& db, std::string_view sql) : db_(db) {
    if (sqlite3_prepare_v2(db.handle(), sql.data(), static_cast<int>(sql.size()), &stmt_,
                           nullptr) != SQLITE_OK) {
        fail();
    }
}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

void Statement::fail() const {
    throw DatabaseError(sqlite3_errmsg(db_.handle()));
}

Statement& Statement::bind(int index, std::string_view text) {
    if (sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT) != SQLITE_OK) {
        fail();
    }
    return *this;
}

Statement& Statement::bind(int index, std::int64_t value) {
    if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK) {
        fail();
    }
    return *this;
}

Statement& Statement::bindBlob(int index, std::string_view bytes) {
    if (sqlite3_bind_blob64(stmt_, index, bytes.data(), bytes.size(), SQLITE_TRANSIENT) !=
        SQLITE_OK) {
        fail();
    }
    return *this;
}

Statement& Statement::bindOrNull(int index, const std::optional<std::string>& text) {
    if (text) {
        return bind(index, std::string_view(*text));
    }
    if (sqlite3_bind_null(stmt_, index) != SQLITE_OK) {
        fail();
    }
    return *this;
}

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) {
        return true;
    }
    if (rc == SQLITE_DONE) {
        return false;
    }
    fail();
}

void Statement::run() {
    while (step()) {
    }
}

void Statement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

std::optional<std::string> Statement::text(int column) const {
    const std::string_view value = textView(column);
    return value.data() == nullptr ? std::nullopt : std::optional<std::string>(value);
}

std::string_view Statement::textView(int column) const {
    const unsigned char* value = sqlite3_column_text(stmt_, column);
    if (value == nullptr) {
        if (sqlite3_errcode(db_.handle()) == SQLITE_NOMEM) {
            fail();
        }
        return {};
    }
    return {reinterpret_cast<const char*>(value),
            static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column))};
}

std::int64_t Statement::integer(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

std::string_view Statement::blob(int column) const {
    const void* value = sqlite3_column_blob(stmt_, column);
    if (value == nullptr) {
        if (sqlite3_errcode(db_.handle()) == SQLITE_NOMEM) {
            fail();
        }
        return {};
    }
    return {static_cast<const char*>(value),
            static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column))};
}

bool Statement::isNull(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

int Statement::columnCount() const {
    return sqlite3_column_count(stmt_);
}

}  // namespace kv820
