#pragma once

namespace kv820 {

// A position in decimal degrees (WGS 84, as the trackers report it).
struct GeoPoint {
    double lat = 0;
    double lon = 0;
    bool operator==(const GeoPoint&) const = default;
};

// The mean Earth radius of the IUGG, in metres.
inline constexpr double EarthRadiusMetres = 6371008.8;

// The great-circle distance (haversine on the mean radius): fences and trips measure
// alike, so a trip's length and a fence's radius are the same metres.
double distanceMetres(GeoPoint a, GeoPoint b);

}  // namespace kv820
