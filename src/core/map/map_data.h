#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/records/report_row_view.h"
#include "core/records/report_rows.h"
#include "core/store/gpslog_row.h"
#include "core/store/user_registry.h"

namespace kv820 {

class Database;

// What the built-in map page draws, handed to it as JSON. The page only draws what it is
// given: every choice (which rows, which colour, what a tooltip says) is made here.

struct MapPoint {
    double latitude = 0;
    double longitude = 0;
};

// The position of a report that belongs on a track (a fix, and both texts decimal degrees
// within range); nothing for any other report.
std::optional<MapPoint> trackPointPosition(const ReportRowView& row);

// One registered tracker at its latest stored position.
struct FleetMarker {
    std::string imei;
    std::string userName;
    std::size_t slot = 0;  // the tracker's place in the registry: its colour
    MapPoint position;
    GpslogRow row;     // the report the position comes from
    bool sos = false;  // an SOS alarm of this tracker waits for the operator
};

// The colour of a tracker's marker, "#rrggbb"; one per registry slot, none of them red
// (red is kept for an SOS).
const char* trackerColour(std::size_t slot);

// The newest stored report of a tracker that belongs on a track; nothing when it has none.
// Throws DatabaseError.
std::optional<GpslogRow> latestTrackRow(Database& db, const std::string& imei);

// Every registered tracker that has a stored position, in registry order; a tracker whose
// IMEI is in `sosImeis` is marked as in alarm. Throws DatabaseError.
std::vector<FleetMarker> loadFleetMarkers(Database& db, const UserRegistry::Snapshot& users,
                                          const std::vector<std::string>& sosImeis);

// The one registered tracker with `imei`, as loadFleetMarkers has it; nothing when no
// registered tracker has that IMEI or it has no stored position. Throws DatabaseError.
std::optional<FleetMarker> loadFleetMarker(Database& db, const UserRegistry::Snapshot& users,
                                           const std::string& imei,
                                           const std::vector<std::string>& sosImeis);

// {"imei","name","lat","lon","colour","sos","tooltip":[lines]}: one tracker's marker.
std::string markerJson(const FleetMarker& marker);

// {"markers":[marker, ...]}, each marker as markerJson writes it.
std::string fleetJson(const std::vector<FleetMarker>& markers);

// {"lat","lon","tooltip":[lines]}: one report to centre the map on; nothing when it has no
// position.
std::optional<std::string> centreJson(const std::string& userName, const ReportRowView& row);

// The speed bands of a drawn track, slowest first.
struct SpeedBand {
    double below;  // km/h; the last band has no upper bound
    const char* colour;
    const char* label;
};
const std::vector<SpeedBand>& trackSpeedBands();

// A searched track: the track points oldest first as runs of one speed band each (a
// segment takes the band of the speed reached at its end), its start and end, and how
// many points it has:
// {"points":n,"start":[lat,lon],"end":[lat,lon],
//  "bands":[{"colour","label","parts":[[lat,lon,lat,lon,...],...]}]}
// Nothing when the rows could not be read to the end.
std::optional<std::string> trackJson(const ReportRows& rows);

}  // namespace kv820
