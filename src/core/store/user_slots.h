#pragma once

#include <cstddef>

namespace kv820 {

class Database;

// How many trackers the program registers. It is kept in the database, beside the users,
// so that every receiver and desk on the file holds the same number: five
// (UserRegistry::MaxUsers) unless the operator chose more, up to MostUserSlots.

// A read that never writes: a file that never had the setting has five. Throws
// DatabaseError.
std::size_t storedUserSlots(Database& db);
// Makes the table of the program's settings where it is missing. Throws DatabaseError.
void ensureProgramSettingsTable(Database& db);
// Stores the number, within its bounds. Throws DatabaseError.
void storeUserSlots(Database& db, std::size_t slots);

}  // namespace kv820
