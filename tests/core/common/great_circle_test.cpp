#include "core/common/great_circle.h"

#include <gtest/gtest.h>

#include <numbers>

namespace kv820 {
namespace {

// Arcs whose length follows from the mean radius alone: a degree along a meridian or the
// equator, half a turn, and the shorter way across the 180th meridian.
TEST(GreatCircleTest, ArcsMeasureOnTheMeanEarthRadius) {
    constexpr double Degree = EarthRadiusMetres * std::numbers::pi / 180;
    const struct {
        GeoPoint a;
        GeoPoint b;
        double metres;
    } arcs[] = {
        {{0, 0}, {1, 0}, Degree},          {{0, 0}, {0, 1}, Degree},
        {{60, 10}, {60, 10}, 0},           {{0, 0}, {0, 180}, 180 * Degree},
        {{0, 179.5}, {0, -179.5}, Degree}, {{90, 0}, {-90, 0}, 180 * Degree},
    };
    for (const auto& arc : arcs) {
        EXPECT_NEAR(distanceMetres(arc.a, arc.b), arc.metres, 1e-6)
            << arc.a.lat << "," << arc.a.lon;
        EXPECT_NEAR(distanceMetres(arc.b, arc.a), arc.metres, 1e-6);
    }
    EXPECT_NEAR(Degree, 111195.08, 0.01);
}

}  // namespace
}  // namespace kv820
