#pragma once

#include <cstddef>
#include <string>

namespace kv820 {

class Database;

struct GeofenceFileImport {
    std::size_t added = 0;
    std::string error;  // empty when every fence was added
};

// Adds every fence of a GeoJSON file (at most MaxGeojsonBytes) to the database, with the
// alarm tables when it lacks them, in one transaction: a file that cannot be read or that
// has one bad feature adds nothing, and the error says why. Throws DatabaseError.
GeofenceFileImport importGeofenceFile(Database& db, const std::string& path);

}  // namespace kv820
