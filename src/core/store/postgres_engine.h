#pragma once

#include <memory>
#include <string>

#include "core/store/database.h"
#include "core/store/database_engine.h"

namespace kv820 {

// A PostgreSQL database through libpq, given a "postgresql://" URL. The database must
// exist: the program makes tables, never databases.
std::unique_ptr<DatabaseEngine> openPostgresEngine(const std::string& url, Database::Mode mode);

// The statement in PostgreSQL's placeholders: ?1 (or a bare ?) becomes $1, outside quotes.
// `highest` receives the highest parameter number written; `used[n]` whether $n is written.
std::string postgresPlaceholders(std::string_view sql, int* highest = nullptr,
                                 std::string* used = nullptr);

}  // namespace kv820
