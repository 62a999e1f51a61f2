#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/alarms/geofence.h"

namespace kv820 {

// What the map page draws of the alarms, handed to it as JSON, and what the program takes
// back from the page. The page is only a drawing surface: whatever it sends is checked
// here against the same rules an imported file meets.

// Why the fence cannot be stored ("the polygon has fewer than 3 corners"); empty when it can.
std::string fenceProblem(const Geofence& fence);

// The shape the operator drew, without name yet; nothing when it is no storable shape.
std::optional<Geofence> circleFromPage(double lat, double lon, double radiusMetres);
// `latLons`: the corners as lat, lon, lat, lon, ...
std::optional<Geofence> polygonFromPage(const std::vector<double>& latLons);
// The fence dragged by that many degrees; a longitude is taken round the globe, and a
// fence pushed over a pole is refused.
std::optional<Geofence> movedFence(const Geofence& fence, double dLat, double dLon);

// [{"id","shape":"circle"|"polygon","centre":[lat,lon],"radius","corners":[lat,lon,...],
//   "tooltip":[lines]}]: the name first, as text.
std::string fenceLayerJson(const std::vector<Geofence>& fences);

// A tracker that stopped reporting, and since when (local time, as the operator reads it).
struct OverdueTracker {
    std::string imei;
    std::string since;
};

// [{"imei","line":"Overdue since ..."}]
std::string overdueJson(const std::vector<OverdueTracker>& trackers);

}  // namespace kv820
