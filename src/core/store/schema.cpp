#include "core/store/schema.h"

#include <filesystem>

#include "core/store/database.h"
#include "core/store/gpslog_store.h"
#include "core/store/transaction.h"

namespace kv820 {

namespace {

// Every column is TEXT: a phone "0912345678" must stay text, never become a number.
// The expression index serves both the history lists (one tracker, a receive range,
// newest first) and the duplicate check on store. The partial index holds only rows
// with a NULL column, so the start-up purge costs nothing when there are none.
constexpr const char* SchemaSql = R"sql(
CREATE TABLE users (name TEXT, phone TEXT, imei TEXT);
CREATE TABLE gpslog (
    imei TEXT, receive_date TEXT, receive_time TEXT, gps_pos_lat TEXT, gps_pos_lon TEXT,
    gps_date TEXT, gps_time TEXT, gps_status TEXT, gps_altitude TEXT, gps_speed TEXT,
    gps_direction TEXT, gps_number TEXT, message_status TEXT);
CREATE INDEX gpslog_by_imei_and_receive_moment ON gpslog (imei, receive_date||receive_time);
CREATE INDEX gpslog_incomplete ON gpslog (imei) WHERE )sql";

}  // namespace

CreateDatabaseResult CreateDatabaseFile(const std::string& path) {
    std::error_code ignored;
    if (std::filesystem::exists(path, ignored)) {
        return CreateDatabaseResult::AlreadyExists;
    }
    try {
        Database db(path, Database::Mode::Create);
        Transaction transaction(db);
        db.execute((std::string(SchemaSql) + GpslogIncompleteCondition).c_str());
        transaction.commit();
    } catch (...) {
        std::filesystem::remove(path, ignored);
        throw;
    }
    return CreateDatabaseResult::Created;
}

}  // namespace kv820
