#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/great_circle.h"

namespace kv820 {

// An area the program watches, whatever the trackers themselves were told.
struct Geofence {
    enum class Shape { Circle, Polygon };

    std::int64_t id = 0;  // the database's; 0 until stored
    std::string name;
    Shape shape = Shape::Circle;
    GeoPoint centre;                // a circle's
    double radiusMetres = 0;        // a circle's
    std::vector<GeoPoint> corners;  // a polygon's, without repeating the first at the end
    std::optional<double> speedLimitKmh;
    std::vector<std::string> imeis;  // the trackers it applies to; empty: every tracker

    bool appliesTo(std::string_view imei) const;
    bool operator==(const Geofence&) const = default;
};

// True when the point lies inside the fence (on a circle's edge counts as inside). A
// polygon may cross the 180th meridian: its corners are taken along the shorter way round,
// and its edges are straight in longitude and latitude, as drawn on the map.
bool contains(const Geofence& fence, GeoPoint point);

}  // namespace kv820
