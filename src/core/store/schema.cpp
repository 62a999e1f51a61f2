#include "core/store/schema.h"

#include <filesystem>
#include <string>

#include "core/store/database.h"
#include "core/store/gpslog_store.h"
#include "core/store/transaction.h"

namespace kv820 {

namespace {

// Every column is TEXT: a phone "0912345678" must stay text, never become a number.
// Five gpslog columns a line, as the first files were made: SQLite keeps the text.
std::string gpslogTableSql() {
    std::string sql = "CREATE TABLE gpslog (\n    ";
    for (std::size_t c = 0; c < GpslogColumnCount; ++c) {
        sql += c == 0 ? "" : c % 5 == 0 ? ",\n    " : ", ";
        sql += std::string(GpslogColumnNames[c]) + " TEXT";
    }
    return sql + ");\n";
}

// The expression index serves both the history lists (one tracker, a receive range,
// newest first) and the duplicate check on store. The partial index holds only rows
// with a NULL column, so the start-up purge costs nothing when there are none.
std::string schemaSql() {
    return "\nCREATE TABLE users (name TEXT, phone TEXT, imei TEXT);\n" + gpslogTableSql() +
           "CREATE INDEX gpslog_by_imei_and_receive_moment ON gpslog (imei, "
           "receive_date||receive_time);\n"
           "CREATE INDEX gpslog_incomplete ON gpslog (imei) WHERE " +
           gpslogIncompleteCondition();
}

}  // namespace

CreateDatabaseResult createDatabaseFile(const std::string& path) {
    std::error_code ignored;
    if (std::filesystem::exists(path, ignored)) {
        return CreateDatabaseResult::AlreadyExists;
    }
    try {
        Database db(path, Database::Mode::Create);
        Transaction transaction(db);
        db.execute(schemaSql().c_str());
        transaction.commit();
    } catch (...) {
        std::filesystem::remove(path, ignored);
        throw;
    }
    return CreateDatabaseResult::Created;
}

}  // namespace kv820
