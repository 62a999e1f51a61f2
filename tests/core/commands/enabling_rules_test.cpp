// Which fields of the command pages take input: only those the chosen command sends.
#include <gtest/gtest.h>

#include "core/commands/config_enabling_rules.h"
#include "core/commands/tracking_enabling_rules.h"

namespace kv820 {
namespace {

// The default return number follows its switch; interval and count only for a period report.
TEST(ConfigEnablingRules, FieldsFollowTheSwitchAndTheReportMode) {
    using P = ConfigParameter;
    const auto off =
        configEnablingRules(P::SmsDefaultReturnNumber, false, DefaultReportMode::StopReport);
    EXPECT_TRUE(off.defaultReturnSwitch);
    EXPECT_FALSE(off.defaultReturnNumber);
    EXPECT_TRUE(configEnablingRules(P::SmsDefaultReturnNumber, true, DefaultReportMode::StopReport)
                    .defaultReturnNumber);
    // The switch of another parameter enables nothing.
    EXPECT_FALSE(
        configEnablingRules(P::SosNumber, true, DefaultReportMode::StopReport).defaultReturnNumber);
    const auto period =
        configEnablingRules(P::DefaultReportModeSetting, false, DefaultReportMode::SmsPeriodReport);
    EXPECT_TRUE(period.reportIntervalAndCount && period.reportFormat);
    const auto stop =
        configEnablingRules(P::DefaultReportModeSetting, false, DefaultReportMode::StopReport);
    EXPECT_FALSE(stop.reportIntervalAndCount || stop.reportFormat);
    EXPECT_TRUE(stop.defaultReportMode);
}

TEST(TrackingEnablingRules, TheShapeChoosesCornersOrCircleOnlyForAGeofence) {
    const auto rectangle =
        trackingEnablingRules(TrackingReportMode::Geofence, GeofenceShape::Rectangle);
    EXPECT_TRUE(rectangle.rectangleCorners && rectangle.geofenceChoice && rectangle.reportInterval);
    EXPECT_FALSE(rectangle.circleFields);
    const auto circle = trackingEnablingRules(TrackingReportMode::Geofence, GeofenceShape::Circle);
    EXPECT_TRUE(circle.circleFields && circle.circleChecked);
    EXPECT_FALSE(circle.rectangleCorners || circle.rectangleChecked);
    const auto period =
        trackingEnablingRules(TrackingReportMode::PeriodReport, GeofenceShape::Circle);
    EXPECT_TRUE(period.reportInterval);
    EXPECT_FALSE(period.circleFields || period.geofenceChoice);
    const auto stop =
        trackingEnablingRules(TrackingReportMode::StopReport, GeofenceShape::Rectangle);
    EXPECT_FALSE(stop.reportInterval || stop.reportFormat);
}

}  // namespace
}  // namespace kv820
