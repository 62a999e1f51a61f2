#include "core/alarms/geofence_file.h"

#include <fstream>
#include <iterator>
#include <optional>

#include "core/alarms/alarm_store.h"
#include "core/alarms/geofence_geojson.h"
#include "core/store/transaction.h"

namespace kv820 {

namespace {

// The file's text, or nothing when it cannot be read or is larger than a fence file may be.
std::optional<std::string> boundedText(const std::string& path, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot read " + path;
        return std::nullopt;
    }
    std::string text;
    text.resize(MaxGeojsonBytes + 1);
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (file.bad()) {
        error = "cannot read " + path;
        return std::nullopt;
    }
    text.resize(static_cast<std::size_t>(file.gcount()));
    if (text.size() > MaxGeojsonBytes) {
        error = path + " is larger than " + std::to_string(MaxGeojsonBytes) + " bytes";
        return std::nullopt;
    }
    return text;
}

}  // namespace

GeofenceFileImport importGeofenceFile(Database& db, const std::string& path) {
    GeofenceFileImport result;
    const std::optional<std::string> text = boundedText(path, result.error);
    if (!text) {
        return result;
    }
    GeofenceImport read = geofencesFromGeojson(*text);
    if (!read.error.empty()) {
        result.error = std::move(read.error);
        return result;
    }
    Transaction transaction(db);
    AlarmStore::ensureTables(db);
    AlarmStore store(db);
    for (Geofence& fence : read.fences) {
        fence.id = 0;  // always added, never put in place of a stored fence
        store.saveGeofence(fence);
    }
    transaction.commit();
    result.added = read.fences.size();
    return result;
}

}  // namespace kv820
