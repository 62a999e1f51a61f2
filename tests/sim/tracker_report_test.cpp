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
                                         CoordinateCase{5.0, false, "N0500.0000"}));

TEST(CoordinateFields, MinutesThatRoundToSixtyCarryIntoTheDegrees) {
    EXPECT_EQ(longitudeField(121.99999999), "E12200.0000");
    EXPECT_EQ(latitudeField(-24.99999999), "S2500.0000");
}

TEST(CoordinateFields, ShortAndUnknownFieldsDecodeAsZero) {
    EXPECT_EQ(coordinateFieldDegrees(""), 0.0);
    EXPECT_EQ(coordinateFieldDegrees("X12130.1"), 0.0);
    EXPECT_EQ(sixDecimals(coordinateFieldDegrees("W07412.3")), "-74.205000");
}

TEST(ReportBody, HasTheTrackerFieldOrderAndEndsWithBang) {
    TrackerReport report;
    report.imei = "354612071234567";
    report.kind = "1";
    report.fix = "3";
    report.gpsDate = "070512";
    report.gpsTime = "235959";
    report.longitude = "E12130.1234";
    report.latitude = "N2503.1234";
    report.altitude = "52";
    report.speedKnots = "10";
    report.course = "270";
    report.satellites = "7";
    report.last = "0";
    EXPECT_EQ(formatReportBody(report),
              "?354612071234567,1,3,070512,235959,E12130.1234,N2503.1234,52,10,270,7,0!");
}

TEST(ReportBody, BuiltFromAMomentCarriesUtcDateAndTime) {
    // 2012-05-07 23:59:59 UTC
    const TrackerReport report =
        TrackerReport::at("354612071234567", 121.502057, 25.052057, 1336435199);
    EXPECT_EQ(report.gpsDate, "070512");
    EXPECT_EQ(report.gpsTime, "235959");
    EXPECT_EQ(report.fix, "3");
    EXPECT_EQ(formatReportBody(report),
              "?354612071234567,1,3,070512,235959,E12130.1234,N2503.1234,100,0,0,8,0!");
}

}  // namespace
}  // namespace kv820::sim
