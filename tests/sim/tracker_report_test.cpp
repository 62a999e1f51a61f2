#include "sim/tracker_report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace kv820::sim {
namespace {

std::string sixDecimals(double degrees) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", degrees);
    return text;
}

struct CoordinateCase {
    double degrees;
    bool longitude;
    std::string field;
};

class CoordinateFields : public testing::TestWithParam<CoordinateCase> {};

TEST_P(CoordinateFields, FormatLikeTheTracker) {
    const CoordinateCase& c = GetParam();
    EXPECT_EQ(c.longitude ? longitudeField(c.degrees) : latitudeField(c.degrees), c.field);
}

TEST_P(CoordinateFields, DecodeBackToTheSameDegrees) {
    const CoordinateCase& c = GetParam();
    EXPECT_EQ(sixDecimals(coordinateFieldDegrees(c.field)), sixDecimals(c.degrees));
}

INSTANTIATE_TEST_SUITE_P(Positions, CoordinateFields,
                         testing::Values(CoordinateCase{121.502057, true, "E12130.1234"},
                                         CoordinateCase{25.052057, false, "N2503.1234"},
                                         CoordinateCase{-74.205, true, "W07412.3000"},
                                         CoordinateCase{-33.508333, false, "S3330.5000"},
                                         CoordinateCase{0.0, true, "E00000.0000"},
                                         CoordinateCase{5.0, false, "N0500.0000"},
                                         // minutes that round to sixty carry into the degrees
                                         CoordinateCase{121.99999999, true, "E12200.0000"},
                                         CoordinateCase{-24.99999999, false, "S2500.0000"}));

}  // namespace
}  // namespace kv820::sim
