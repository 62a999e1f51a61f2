#include "core/alarms/geofence.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "core/alarms/geofence_geojson.h"

namespace kv820 {
namespace {

constexpr double DegreesPerMetre = 180.0 / (std::numbers::pi * EarthRadiusMetres);

Geofence circle(GeoPoint centre, double radius) {
    Geofence fence;
    fence.shape = Geofence::Shape::Circle;
    fence.centre = centre;
    fence.radiusMetres = radius;
    return fence;
}

Geofence polygon(std::vector<GeoPoint> corners) {
    Geofence fence;
    fence.shape = Geofence::Shape::Polygon;
    fence.corners = std::move(corners);
    return fence;
}

TEST(GeofenceTest, ACircleHoldsWhatLiesWithinItsRadiusInEveryDirection) {
    const GeoPoint centre{52.5, 13.4};
    const Geofence fence = circle(centre, 500);
    const double eastScale = 1 / std::cos(centre.lat * std::numbers::pi / 180);
    struct Case {
        double northMetres, eastMetres;
        bool inside;
    };
    for (const Case c :
         {Case{499, 0, true}, Case{501, 0, false}, Case{-499, 0, true}, Case{-501, 0, false},
          Case{0, 499, true}, Case{0, 501, false}, Case{0, -501, false}, Case{0, 0, true}}) {
        const GeoPoint point{centre.lat + c.northMetres * DegreesPerMetre,
                             centre.lon + c.eastMetres * DegreesPerMetre * eastScale};
        EXPECT_EQ(contains(fence, point), c.inside)
            << c.northMetres << " N, " << c.eastMetres << " E";
    }
}

TEST(GeofenceTest, PolygonsHoldTheirInsideOnlyAlsoWhenConcaveOrAcrossTheDateLine) {
    // A "U": two arms joined at the bottom, the notch between them outside.
    const Geofence u = polygon({{0, 0}, {0, 3}, {3, 3}, {3, 2}, {1, 2}, {1, 1}, {3, 1}, {3, 0}});
    const Geofence pacific = polygon({{-1, 179}, {-1, -179}, {1, -179}, {1, 179}});
    struct Case {
        const Geofence* fence;
        GeoPoint point;
        bool inside;
    };
    for (const Case c :
         {Case{&u, {0.5, 1.5}, true}, Case{&u, {2, 1.5}, false}, Case{&u, {2.5, 2.5}, true},
          Case{&u, {2.5, 0.5}, true}, Case{&u, {4, 1.5}, false}, Case{&u, {1.5, -0.5}, false},
          Case{&pacific, {0, 179.5}, true}, Case{&pacific, {0, -179.5}, true},
          Case{&pacific, {0, 180}, true}, Case{&pacific, {0, 0}, false},
          Case{&pacific, {0, 178.5}, false}, Case{&pacific, {2, 179.5}, false}}) {
        EXPECT_EQ(contains(*c.fence, c.point), c.inside)
            << (c.fence == &u ? "U " : "date line ") << c.point.lat << "," << c.point.lon;
    }
}

TEST(GeofenceGeojsonTest, FencesWrittenOutAreReadBackTheSame) {
    Geofence depot = circle({52.5, 13.4}, 250);
    depot.name = "Depot <b>&</b> \"yard\"";
    depot.speedLimitKmh = 20;
    Geofence zone = polygon({{1, 2}, {1, 3}, {2, 3}});
    zone.name = "Zone";
    zone.imeis = {"354612071234567"};
    const GeofenceImport back = geofencesFromGeojson(geojsonOfGeofences({depot, zone}));
    ASSERT_EQ(back.error, "");
    EXPECT_EQ(back.fences, (std::vector<Geofence>{depot, zone}));
}

// A file comes from anywhere: every fault refuses the whole file and says which feature.
TEST(GeofenceGeojsonTest, ABadFileIsRefusedWholeNamingTheFeatureAndTheReason) {
    const std::string good = R"({"type":"Feature","properties":{"name":"A","radius":10},)"
                             R"("geometry":{"type":"Point","coordinates":[13,52]}})";
    auto collection = [&](const std::string& second) {
        return R"({"type":"FeatureCollection","features":[)" + good + "," + second + "]}";
    };
    struct Case {
        std::string text;
        std::string error;
    };
    const std::string deep(100, '[');
    for (const Case& c : std::vector<Case>{
             {"{", "the file is not JSON: member name expected at byte 1"},
             {deep, "the file is not JSON: nested too deeply at byte 65"},
             {R"({"type":"Feature"})", "the file is not a GeoJSON FeatureCollection"},
             {collection(R"({"type":"Feature","properties":{"name":"B"},)"
                         R"("geometry":{"type":"Point","coordinates":[13,52]}})"),
              "feature 2 (\"B\"): a point needs a \"radius\" in metres"},
             {collection(R"({"type":"Feature","properties":{"name":"C"},"geometry":)"
                         R"({"type":"Polygon","coordinates":[[[0,0],[1,1],[0,0]]]}})"),
              "feature 2 (\"C\"): the polygon has fewer than 3 corners"},
             {collection(R"({"type":"Feature","properties":{"name":"D","radius":5},)"
                         R"("geometry":{"type":"Point","coordinates":[200,52]}})"),
              "feature 2 (\"D\"): a position lies outside the Earth's degrees"},
             {collection(R"({"type":"Feature","properties":{"radius":5},)"
                         R"("geometry":{"type":"Point","coordinates":[1,2]}})"),
              "feature 2: it has no \"name\""},
             {collection(
                  R"({"type":"Feature","properties":{"name":"E","radius":5,)"
                  R"("speed_limit_kmh":"fast"},"geometry":{"type":"Point","coordinates":[1,2]}})"),
              "feature 2 (\"E\"): \"speed_limit_kmh\" is not a speed between 1 and 1000"},
             // Written out with one decimal, so small a circle would read back as none.
             {collection(R"({"type":"Feature","properties":{"name":"G","radius":0.04},)"
                         R"("geometry":{"type":"Point","coordinates":[1,2]}})"),
              "feature 2 (\"G\"): the radius is not between 1 and 1000000 m"},
             {collection(R"({"type":"Feature","properties":{"name":"F"},)"
                         R"("geometry":{"type":"LineString","coordinates":[[1,2],[3,4]]}})"),
              "feature 2 (\"F\"): a LineString is neither a Polygon nor a Point with a radius"},
         }) {
        const GeofenceImport result = geofencesFromGeojson(c.text);
        EXPECT_EQ(result.error, c.error) << c.text;
        EXPECT_TRUE(result.fences.empty());
    }
}

TEST(GeofenceGeojsonTest, SizesAndCountsAreBounded) {
    std::string corners;
    for (std::size_t i = 0; i <= MaxFenceCorners + 1; ++i) {
        corners += i ? ",[1,2]" : "[1,2]";
    }
    const std::string text = R"({"type":"FeatureCollection","features":[{"type":"Feature",)"
                             R"("properties":{"name":"big"},"geometry":{"type":"Polygon",)"
                             R"("coordinates":[[)" +
                             corners + "]]}}]}";
    EXPECT_EQ(geofencesFromGeojson(text).error,
              "feature 1 (\"big\"): the polygon has more than 10000 corners");
    EXPECT_EQ(geofencesFromGeojson(std::string(MaxGeojsonBytes + 1, ' ')).error,
              "the file is larger than 16 MB");
}

}  // namespace
}  // namespace kv820
