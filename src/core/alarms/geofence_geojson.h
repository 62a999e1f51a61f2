#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/alarms/geofence.h"

namespace kv820 {

// Bounds on a GeoJSON file of fences: it comes from anywhere, so nothing in it may make the
// program take unbounded memory or time.
inline constexpr std::size_t MaxGeojsonBytes = 16 * 1024 * 1024;
inline constexpr std::size_t MaxImportedFences = 1000;
inline constexpr std::size_t MaxFenceCorners = 10000;
inline constexpr std::size_t MaxFenceNameBytes = 200;
// Radius and limit are written with one decimal: below these a fence written out would
// read back as none. A fence smaller than a GPS fix's error would mean nothing anyway.
inline constexpr double MinFenceRadiusMetres = 1;
inline constexpr double MaxFenceRadiusMetres = 1000000;
inline constexpr double MinSpeedLimitKmh = 1;
inline constexpr double MaxSpeedLimitKmh = 1000;

struct GeofenceImport {
    std::vector<Geofence> fences;
    std::string error;  // empty when every feature was taken
};

// The fences of a GeoJSON FeatureCollection: a Polygon feature is a polygon (its outer ring),
// a Point feature with a "radius" property in metres is a circle; properties "name",
// "speed_limit_kmh" and "trackers" (IMEIs; none: every tracker). A file with one bad feature
// is refused whole, with an error naming the feature and the reason.
GeofenceImport geofencesFromGeojson(std::string_view text);

// The fences as a GeoJSON FeatureCollection that geofencesFromGeojson reads back.
std::string geojsonOfGeofences(const std::vector<Geofence>& fences);

}  // namespace kv820
