#pragma once

#include "core/commands/tracking_command_form.h"

namespace kv820 {

// Which controls of the tracking page are enabled, and how the shape boxes are checked.
// "Report Mode :" and "Return Phone Number :" are always enabled and not listed.
struct TrackingControlStates {
    bool reportInterval = false;  // also "Number of Reports :"
    bool reportFormat = false;
    bool geofenceChoice = false;    // "In or Out the boundary :" and both shape boxes
    bool rectangleCorners = false;  // the two longitude/latitude pairs
    bool circleFields = false;      // centre longitude, latitude and the radius
    bool rectangleChecked = true;
    bool circleChecked = false;

    bool operator==(const TrackingControlStates&) const = default;
};

// The states for a report mode and the chosen geofence shape. Only the chosen shape's fields
// are ever enabled, and only in "Geofence" mode.
TrackingControlStates trackingEnablingRules(TrackingReportMode mode, GeofenceShape shape);

}  // namespace kv820
