#include "core/alarms/geofence.h"

#include <algorithm>

namespace kv820 {

namespace {

// `lon` moved by whole turns to lie within half a turn of `reference`.
double nearestTurn(double lon, double reference) {
    while (lon - reference > 180.0) {
        lon -= 360.0;
    }
    while (lon - reference < -180.0) {
        lon += 360.0;
    }
    return lon;
}

// Even-odd ray casting towards east, on corners whose longitudes were unwrapped so that
// no edge jumps across the meridian the polygon straddles.
bool polygonContains(const std::vector<GeoPoint>& corners, GeoPoint point) {
    if (corners.size() < 3) {
        return false;
    }
    std::vector<GeoPoint> ring(corners);
    for (std::size_t i = 1; i < ring.size(); ++i) {
        ring[i].lon = nearestTurn(ring[i].lon, ring[i - 1].lon);
    }
    const auto [west, east] = std::minmax_element(
        ring.begin(), ring.end(), [](GeoPoint a, GeoPoint b) { return a.lon < b.lon; });
    const double x = nearestTurn(point.lon, (west->lon + east->lon) / 2);
    bool inside = false;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        const GeoPoint a = ring[i];
        const GeoPoint b = ring[j];
        if ((a.lat > point.lat) != (b.lat > point.lat)) {
            const double crossing = a.lon + (point.lat - a.lat) * (b.lon - a.lon) / (b.lat - a.lat);
            if (x < crossing) {
                inside = !inside;
            }
        }
    }
    return inside;
}

}  // namespace

bool Geofence::appliesTo(std::string_view imei) const {
    return imeis.empty() || std::find(imeis.begin(), imeis.end(), imei) != imeis.end();
}

bool contains(const Geofence& fence, GeoPoint point) {
    if (fence.shape == Geofence::Shape::Circle) {
        return distanceMetres(fence.centre, point) <= fence.radiusMetres;
    }
    return polygonContains(fence.corners, point);
}

}  // namespace kv820
