#pragma once

#include <string>

namespace kv820 {

inline constexpr const char* DatabaseFileName = "KV820Y.mdb";

enum class CreateDatabaseResult { Created, AlreadyExists };

// Creates the database file with both tables and their indexes. An existing file is left
// untouched. Throws DatabaseError when the file cannot be created.
CreateDatabaseResult createDatabaseFile(const std::string& path);

}  // namespace kv820
