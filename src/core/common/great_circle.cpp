#include "core/common/great_circle.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kv820 {

namespace {

double radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

}  // namespace

double distanceMetres(GeoPoint a, GeoPoint b) {
    const double dLat = radians(b.lat - a.lat);
    const double dLon = radians(b.lon - a.lon);
    const double h = std::sin(dLat / 2) * std::sin(dLat / 2) +
                     std::cos(radians(a.lat)) * std::cos(radians(b.lat)) * std::sin(dLon / 2) *
                         std::sin(dLon / 2);
    return 2 * EarthRadiusMetres * std::asin(std::min(1.0, std::sqrt(h)));
}

}  // namespace kv820
