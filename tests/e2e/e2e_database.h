#pragma once

#include <string>
#include <vector>

#include "core/store/database.h"
#include "core/store/schema.h"
#include "core/store/statement.h"
#include "core/store/user_store.h"

namespace kv820::test {

inline constexpr const char* RegisteredImei = "354612071234567";
inline constexpr const char* RegisteredPhone = "0912345678";

// Creates the database file with one registered tracker, "truck".
inline void CreateDatabaseWithTruck(const std::string& path) {
    CreateDatabaseFile(path);
    Database db(path);
    UserStore(db).addOrUpdate({"truck", RegisteredPhone, RegisteredImei});
}

// One column of every gpslog row, in the order the rows were stored.
inline std::vector<std::string> GpslogColumn(const std::string& path, const std::string& column) {
    Database db(path);
    Statement rows(db, "SELECT " + column + " FROM gpslog ORDER BY rowid");
    std::vector<std::string> values;
    while (rows.step()) {
        values.push_back(rows.text(0).value_or("<null>"));
    }
    return values;
}

}  // namespace kv820::test
