#include "core/alarms/geofence_geojson.h"

#include <cmath>

#include "core/common/json_reader.h"
#include "core/common/json_text.h"
#include "core/common/number_text.h"

namespace kv820 {

namespace {

struct FeatureError {
    std::string reason;
};

[[noreturn]] void refuse(const std::string& reason) {
    throw FeatureError{reason};
}

const std::string* stringMember(const JsonValue& value, std::string_view name) {
    const JsonValue* member = value.member(name);
    return member ? member->string() : nullptr;
}

GeoPoint position(const JsonValue& value) {
    const JsonValue::Array* pair = value.array();
    if (!pair || pair->size() < 2 || !(*pair)[0].number() || !(*pair)[1].number()) {
        refuse("a position is not [longitude, latitude]");
    }
    const double lon = *(*pair)[0].number();
    const double lat = *(*pair)[1].number();
    if (std::abs(lat) > 90 || std::abs(lon) > 180) {
        refuse("a position lies outside the Earth's degrees");
    }
    return {lat, lon};
}

void readPolygon(const JsonValue& coordinates, Geofence& fence) {
    const JsonValue::Array* rings = coordinates.array();
    if (!rings || rings->empty() || !(*rings)[0].array()) {
        refuse("the polygon has no ring of corners");
    }
    if (rings->size() > 1) {
        refuse("a polygon with holes is not supported");
    }
    const JsonValue::Array& ring = *(*rings)[0].array();
    if (ring.size() > MaxFenceCorners + 1) {
        refuse("the polygon has more than " + std::to_string(MaxFenceCorners) + " corners");
    }
    fence.shape = Geofence::Shape::Polygon;
    for (const JsonValue& corner : ring) {
        fence.corners.push_back(position(corner));
    }
    if (fence.corners.size() > 1 && fence.corners.front() == fence.corners.back()) {
        fence.corners.pop_back();
    }
    if (fence.corners.size() < 3) {
        refuse("the polygon has fewer than 3 corners");
    }
}

void readCircle(const JsonValue& coordinates, const JsonValue& properties, Geofence& fence) {
    fence.shape = Geofence::Shape::Circle;
    fence.centre = position(coordinates);
    const JsonValue* radius = properties.member("radius");
    if (!radius || !radius->number()) {
        refuse("a point needs a \"radius\" in metres");
    }
    fence.radiusMetres = *radius->number();
    if (!(fence.radiusMetres >= MinFenceRadiusMetres) ||
        fence.radiusMetres > MaxFenceRadiusMetres) {
        refuse("the radius is not between 1 and " + fixedDecimal(MaxFenceRadiusMetres, 0) + " m");
    }
}

void readProperties(const JsonValue& properties, Geofence& fence) {
    const std::string* name = stringMember(properties, "name");
    if (!name || name->empty()) {
        refuse("it has no \"name\"");
    }
    if (name->size() > MaxFenceNameBytes) {
        refuse("its name is longer than " + std::to_string(MaxFenceNameBytes) + " bytes");
    }
    fence.name = *name;
    if (const JsonValue* limit = properties.member("speed_limit_kmh"); limit && !limit->isNull()) {
        if (!limit->number() || !(*limit->number() >= MinSpeedLimitKmh) ||
            *limit->number() > MaxSpeedLimitKmh) {
            refuse("\"speed_limit_kmh\" is not a speed between 1 and " +
                   fixedDecimal(MaxSpeedLimitKmh, 0));
        }
        fence.speedLimitKmh = *limit->number();
    }
    if (const JsonValue* trackers = properties.member("trackers"); trackers) {
        if (!trackers->array()) {
            refuse("\"trackers\" is not a list of IMEIs");
        }
        for (const JsonValue& imei : *trackers->array()) {
            if (!imei.string() || imei.string()->empty() || imei.string()->size() > 20) {
                refuse("\"trackers\" holds something that is no IMEI");
            }
            fence.imeis.push_back(*imei.string());
        }
    }
}

Geofence readFeature(const JsonValue& feature) {
    const std::string* type = stringMember(feature, "type");
    if (!type || *type != "Feature") {
        refuse("it is not a Feature");
    }
    static const JsonValue NoProperties{JsonValue::Object{}};
    const JsonValue* properties = feature.member("properties");
    if (!properties || !properties->object()) {
        properties = &NoProperties;
    }
    Geofence fence;
    readProperties(*properties, fence);
    const JsonValue* geometry = feature.member("geometry");
    const std::string* kind = geometry ? stringMember(*geometry, "type") : nullptr;
    const JsonValue* coordinates = geometry ? geometry->member("coordinates") : nullptr;
    if (!kind || !coordinates) {
        refuse("it has no geometry");
    }
    if (*kind == "Polygon") {
        readPolygon(*coordinates, fence);
    } else if (*kind == "Point") {
        readCircle(*coordinates, *properties, fence);
    } else {
        refuse("a " + *kind + " is neither a Polygon nor a Point with a radius");
    }
    return fence;
}

std::string featureLabel(std::size_t index, const JsonValue& feature) {
    std::string label = "feature " + std::to_string(index + 1);
    const JsonValue* properties = feature.member("properties");
    const std::string* name = properties ? stringMember(*properties, "name") : nullptr;
    if (name && !name->empty() && name->size() <= MaxFenceNameBytes) {
        label += " (\"" + *name + "\")";
    }
    return label;
}

void appendPosition(std::string& out, GeoPoint point) {
    out += '[';
    appendJsonNumber(out, point.lon, 6);
    out += ',';
    appendJsonNumber(out, point.lat, 6);
    out += ']';
}

void appendGeometry(std::string& out, const Geofence& fence) {
    if (fence.shape == Geofence::Shape::Circle) {
        out += R"("geometry":{"type":"Point","coordinates":)";
        appendPosition(out, fence.centre);
        out += '}';
        return;
    }
    out += R"("geometry":{"type":"Polygon","coordinates":[[)";
    for (const GeoPoint& corner : fence.corners) {
        appendPosition(out, corner);
        out += ',';
    }
    // A GeoJSON ring ends where it starts.
    appendPosition(out, fence.corners.empty() ? GeoPoint{} : fence.corners.front());
    out += "]]}";
}

void appendProperties(std::string& out, const Geofence& fence) {
    out += R"("properties":{"name":)";
    appendJsonString(out, fence.name);
    if (fence.shape == Geofence::Shape::Circle) {
        out += R"(,"radius":)";
        appendJsonNumber(out, fence.radiusMetres, 1);
    }
    if (fence.speedLimitKmh) {
        out += R"(,"speed_limit_kmh":)";
        appendJsonNumber(out, *fence.speedLimitKmh, 1);
    }
    if (!fence.imeis.empty()) {
        out += R"(,"trackers":[)";
        for (std::size_t i = 0; i < fence.imeis.size(); ++i) {
            out += i ? "," : "";
            appendJsonString(out, fence.imeis[i]);
        }
        out += ']';
    }
    out += '}';
}

}  // namespace

GeofenceImport geofencesFromGeojson(std::string_view text) {
    if (text.size() > MaxGeojsonBytes) {
        return {{}, "the file is larger than " + std::to_string(MaxGeojsonBytes >> 20) + " MB"};
    }
    const JsonReadResult json = readJson(text);
    if (!json.value) {
        return {{}, "the file is not JSON: " + json.error};
    }
    const std::string* type = stringMember(*json.value, "type");
    const JsonValue* features = json.value->member("features");
    if (!type || *type != "FeatureCollection" || !features || !features->array()) {
        return {{}, "the file is not a GeoJSON FeatureCollection"};
    }
    if (features->array()->size() > MaxImportedFences) {
        return {{}, "the file holds more than " + std::to_string(MaxImportedFences) + " features"};
    }
    GeofenceImport result;
    const JsonValue::Array& items = *features->array();
    for (std::size_t i = 0; i < items.size(); ++i) {
        try {
            result.fences.push_back(readFeature(items[i]));
        } catch (const FeatureError& error) {
            return {{}, featureLabel(i, items[i]) + ": " + error.reason};
        }
    }
    return result;
}

std::string geojsonOfGeofences(const std::vector<Geofence>& fences) {
    std::string out = R"({"type":"FeatureCollection","features":[)";
    for (std::size_t i = 0; i < fences.size(); ++i) {
        out += i ? ",\n" : "\n";
        out += R"({"type":"Feature",)";
        appendGeometry(out, fences[i]);
        out += ',';
        appendProperties(out, fences[i]);
        out += '}';
    }
    out += "\n]}\n";
    return out;
}

}  // namespace kv820
