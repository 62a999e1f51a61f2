#include "core/commands/tracking_enabling_rules.h"

namespace kv820 {

TrackingControlStates trackingEnablingRules(TrackingReportMode mode, GeofenceShape shape) {
    TrackingControlStates states;
    states.rectangleChecked = shape == GeofenceShape::Rectangle;
    states.circleChecked = shape == GeofenceShape::Circle;
    switch (mode) {
        case TrackingReportMode::ImmediateReport:
            states.reportFormat = true;
            break;
        case TrackingReportMode::PeriodReport:
            states.reportInterval = true;
            states.reportFormat = true;
            break;
        case TrackingReportMode::Geofence:
            states.reportInterval = true;
            states.reportFormat = true;
            states.geofenceChoice = true;
            states.rectangleCorners = states.rectangleChecked;
            states.circleFields = states.circleChecked;
            break;
        case TrackingReportMode::StopReport:
        case TrackingReportMode::VoiceMonitor:
            break;
    }
    return states;
}

}  // namespace kv820
