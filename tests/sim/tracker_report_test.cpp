#include "sim/tracker_report.h"

#include <gtest/gtest.h>

#include <string>

namespace kv820::sim {
namespace {

struct CoordinateCase {
    double degrees;
    bool longitude;
    std::string field;
};

TEST(CoordinateFields, FormatLikeTheTrackerAndDecodeBackToTheSameDegrees) {
    const CoordinateCase cases[] = {{121.502057, true, "E12130.1234"},
                                    {25.052057, false, "N2503.1234"},
                                    {-74.205, true, "W07412.3000"},
                                    {-33.508333, false, "S3330.5000"},
                                    {0.0, true, "E00000.0000"},
                                    {5.0, false, "N0500.0000"},
                                    // minutes that round to sixty carry into the degrees
                                    {121.99999999, true, "E12200.0000"},
                                    {-24.99999999, false, "S2500.0000"}};
    for (const CoordinateCase& c : cases) {
        EXPECT_EQ(c.longitude ? longitudeField(c.degrees) : latitudeField(c.degrees), c.field);
        // Back to the same degrees in their six decimals.
        EXPECT_NEAR(coordinateFieldDegrees(c.field), c.degrees, 5e-7) << c.field;
    }
}

}  // namespace
}  // namespace kv820::sim
