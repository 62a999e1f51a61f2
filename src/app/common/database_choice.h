#pragma once

#include <QString>
#include <string>

namespace kv820 {

// Where the store is: the --database argument when given, else the environment variable
// KV820_DATABASE, else the "database/location" setting, else KV820Y.mdb in the current
// folder. A location is a file path or a "postgresql://" URL.
std::string chosenDatabaseLocation(const QString& argument);

}  // namespace kv820
