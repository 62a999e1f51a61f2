#include "core/alarms/fence_map_json.h"

#include <cmath>

#include "core/alarms/geofence_geojson.h"
#include "core/common/json_text.h"
#include "core/common/number_text.h"

namespace kv820 {

namespace {

// Six decimals are what the trackers send: about 0.1 m.
constexpr int DegreeDecimals = 6;

// The name a drawn shape is checked with before the operator has named it.
constexpr const char* UnnamedShape = "drawn";

std::optional<Geofence> storableShape(Geofence shape) {
    shape.name = UnnamedShape;
    if (!fenceProblem(shape).empty()) {
        return std::nullopt;
    }
    shape.name.clear();
    return shape;
}

double aroundTheGlobe(double lon) {
    const double wrapped = std::fmod(lon + 180.0, 360.0);
    return (wrapped < 0 ? wrapped + 360.0 : wrapped) - 180.0;
}

std::optional<GeoPoint> shifted(GeoPoint point, double dLat, double dLon) {
    const GeoPoint moved{point.lat + dLat, aroundTheGlobe(point.lon + dLon)};
    if (!std::isfinite(moved.lat) || !std::isfinite(moved.lon) || std::abs(moved.lat) > 90) {
        return std::nullopt;
    }
    return moved;
}

void appendKey(std::string& out, const char* key) {
    appendJsonString(out, key);
    out += ':';
}

void appendLatLon(std::string& out, GeoPoint point) {
    appendJsonNumber(out, point.lat, DegreeDecimals);
    out += ',';
    appendJsonNumber(out, point.lon, DegreeDecimals);
}

void appendGeometry(std::string& out, const Geofence& fence) {
    if (fence.shape == Geofence::Shape::Circle) {
        out += "\"shape\":\"circle\",";
        appendKey(out, "centre");
        out += '[';
        appendLatLon(out, fence.centre);
        out += "],";
        appendKey(out, "radius");
        appendJsonNumber(out, fence.radiusMetres, 1);
        return;
    }
    out += "\"shape\":\"polygon\",";
    appendKey(out, "corners");
    out += '[';
    for (std::size_t i = 0; i < fence.corners.size(); ++i) {
        if (i != 0) {
            out += ',';
        }
        appendLatLon(out, fence.corners[i]);
    }
    out += ']';
}

void appendTooltip(std::string& out, const Geofence& fence) {
    appendKey(out, "tooltip");
    out += '[';
    appendJsonString(out, fence.name);
    if (fence.speedLimitKmh) {
        out += ',';
        appendJsonString(out, "Speed limit: " + fixedDecimal(*fence.speedLimitKmh, 0) + " km/h");
    }
    out += ',';
    appendJsonString(out, fence.imeis.empty()
                              ? std::string("For every tracker")
                              : "For " + std::to_string(fence.imeis.size()) + " tracker(s)");
    out += ']';
}

}  // namespace

std::string fenceProblem(const Geofence& fence) {
    // One set of rules for every fence, whether drawn, edited or imported: a fence is
    // storable exactly when the importer takes it back.
    return geofencesFromGeojson(geojsonOfGeofences({fence})).error;
}

std::optional<Geofence> circleFromPage(double lat, double lon, double radiusMetres) {
    Geofence circle;
    circle.shape = Geofence::Shape::Circle;
    circle.centre = {lat, lon};
    circle.radiusMetres = radiusMetres;
    if (!std::isfinite(lat) || !std::isfinite(lon) || !std::isfinite(radiusMetres)) {
        return std::nullopt;
    }
    return storableShape(std::move(circle));
}

std::optional<Geofence> polygonFromPage(const std::vector<double>& latLons) {
    if (latLons.size() % 2 != 0 || latLons.size() > 2 * MaxFenceCorners) {
        return std::nullopt;
    }
    Geofence polygon;
    polygon.shape = Geofence::Shape::Polygon;
    for (std::size_t i = 0; i < latLons.size(); i += 2) {
        if (!std::isfinite(latLons[i]) || !std::isfinite(latLons[i + 1])) {
            return std::nullopt;
        }
        polygon.corners.push_back({latLons[i], latLons[i + 1]});
    }
    return storableShape(std::move(polygon));
}

std::optional<Geofence> movedFence(const Geofence& fence, double dLat, double dLon) {
    Geofence moved = fence;
    if (fence.shape == Geofence::Shape::Circle) {
        const auto centre = shifted(fence.centre, dLat, dLon);
        if (!centre) {
            return std::nullopt;
        }
        moved.centre = *centre;
    } else {
        for (GeoPoint& corner : moved.corners) {
            const auto at = shifted(corner, dLat, dLon);
            if (!at) {
                return std::nullopt;
            }
            corner = *at;
        }
    }
    if (!fenceProblem(moved).empty()) {
        return std::nullopt;
    }
    return moved;
}

std::string fenceLayerJson(const std::vector<Geofence>& fences) {
    std::string out = "[";
    for (const Geofence& fence : fences) {
        if (out.size() > 1) {
            out += ',';
        }
        out += '{';
        appendKey(out, "id");
        out += std::to_string(fence.id);
        out += ',';
        appendGeometry(out, fence);
        out += ',';
        appendTooltip(out, fence);
        out += '}';
    }
    return out + "]";
}

std::string overdueJson(const std::vector<OverdueTracker>& trackers) {
    std::string out = "[";
    for (const OverdueTracker& tracker : trackers) {
        if (out.size() > 1) {
            out += ',';
        }
        out += '{';
        appendKey(out, "imei");
        appendJsonString(out, tracker.imei);
        out += ',';
        appendKey(out, "line");
        appendJsonString(out, "Overdue since " + tracker.since);
        out += '}';
    }
    return out + "]";
}

}  // namespace kv820
