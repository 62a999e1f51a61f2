#pragma once

#include <string>

namespace kv820 {

inline constexpr const char* DatabaseFileName = "KV820Y.mdb";

enum class CreateDatabaseResult { Created, AlreadyExists };

// Creates both tables and their indexes: a new database file at a path, or the tables in an
// existing PostgreSQL database (a "postgresql://" URL) that has none yet. An existing file,
// or a database with the tables, is left untouched. Throws DatabaseError when it cannot.
CreateDatabaseResult createDatabase(const std::string& location);

class Database;
// Makes both tables and their indexes on an open connection that has neither.
void createStoreTables(Database& db);

}  // namespace kv820
