// Any text as a GeoJSON file of fences: refused whole with a reason, or fences within the
// bounds that write out and read back alike, and whose drawing data for the map page holds
// no markup a name could smuggle in.

#include "core/alarms/geofence_geojson.h"
#include "core/alarms/fence_map_json.h"
#include "core/common/json_reader.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // The reader alone, on nesting no file of fences has.
    const kv820::JsonReadResult json = kv820::readJson(text, 8);
    FUZZ_CHECK(json.value.has_value() == json.error.empty());

    const kv820::GeofenceImport read = kv820::geofencesFromGeojson(text);
    if (!read.error.empty()) {
        FUZZ_CHECK(read.fences.empty());
        return 0;
    }
    FUZZ_CHECK(read.fences.size() <= kv820::MaxImportedFences);
    for (const kv820::Geofence& fence : read.fences) {
        FUZZ_CHECK(!fence.name.empty() && fence.name.size() <= kv820::MaxFenceNameBytes);
        FUZZ_CHECK(kv820::fenceProblem(fence).empty());
        FUZZ_CHECK(fence.corners.size() <= kv820::MaxFenceCorners);
    }
    // Written out, read back and written again, the file stays the same.
    const std::string written = kv820::geojsonOfGeofences(read.fences);
    const kv820::GeofenceImport again = kv820::geofencesFromGeojson(written);
    FUZZ_CHECK(again.error.empty());
    FUZZ_CHECK(kv820::geojsonOfGeofences(again.fences) == written);
    // The page's script sees names only as escaped JSON strings.
    const std::string layer = kv820::fenceLayerJson(read.fences);
    FUZZ_CHECK(layer.find('<') == std::string::npos && layer.find('>') == std::string::npos);
    return 0;
}
