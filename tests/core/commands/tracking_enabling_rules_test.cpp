#include "core/commands/tracking_enabling_rules.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace kv820 {
namespace {

struct EnablingCase {
    TrackingReportMode mode;
    GeofenceShape shape;
    TrackingControlStates expected;
};

void PrintTo(const EnablingCase& c, std::ostream* os) {
    *os << TrackingReportModeNames[static_cast<int>(c.mode)] << ", "
        << (c.shape == GeofenceShape::Rectangle ? "rectangle" : "circle");
}

class TrackingEnabling : public testing::TestWithParam<EnablingCase> {};

TEST_P(TrackingEnabling, EnablesWhatTheModeUses) {
    const TrackingControlStates actual = TrackingEnablingRules(GetParam().mode, GetParam().shape);
    const TrackingControlStates& expected = GetParam().expected;
    EXPECT_EQ(actual.reportInterval, expected.reportInterval);
    EXPECT_EQ(actual.reportFormat, expected.reportFormat);
    EXPECT_EQ(actual.geofenceChoice, expected.geofenceChoice);
    EXPECT_EQ(actual.rectangleCorners, expected.rectangleCorners);
    EXPECT_EQ(actual.circleFields, expected.circleFields);
    EXPECT_EQ(actual.rectangleChecked, expected.rectangleChecked);
    EXPECT_EQ(actual.circleChecked, expected.circleChecked);
}

using M = TrackingReportMode;
using S = GeofenceShape;
constexpr bool on = true;
constexpr bool off = false;

// Columns: interval and count, format, in/out and shape boxes, corners, circle fields,
// rectangle checked, circle checked.
INSTANTIATE_TEST_SUITE_P(
    EveryModeAndShape, TrackingEnabling,
    testing::Values(
        EnablingCase{M::ImmediateReport, S::Rectangle, {off, on, off, off, off, on, off}},
        EnablingCase{M::ImmediateReport, S::Circle, {off, on, off, off, off, off, on}},
        EnablingCase{M::PeriodReport, S::Rectangle, {on, on, off, off, off, on, off}},
        EnablingCase{M::PeriodReport, S::Circle, {on, on, off, off, off, off, on}},
        EnablingCase{M::StopReport, S::Rectangle, {off, off, off, off, off, on, off}},
        EnablingCase{M::StopReport, S::Circle, {off, off, off, off, off, off, on}},
        EnablingCase{M::Geofence, S::Rectangle, {on, on, on, on, off, on, off}},
        EnablingCase{M::Geofence, S::Circle, {on, on, on, off, on, off, on}},
        EnablingCase{M::VoiceMonitor, S::Rectangle, {off, off, off, off, off, on, off}},
        EnablingCase{M::VoiceMonitor, S::Circle, {off, off, off, off, off, off, on}}));

}  // namespace
}  // namespace kv820
