#pragma once

#include <memory>
#include <string>

#include "core/store/database.h"
#include "core/store/database_engine.h"

namespace kv820 {

// A database file of SQLite's: the program's own KV820Y.mdb, or a file it only reads.
std::unique_ptr<DatabaseEngine> openSqliteEngine(const std::string& path, Database::Mode mode);

}  // namespace kv820
