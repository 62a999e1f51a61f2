#pragma once

#include <string>
#include <vector>

#include "core/report/position_report.h"
#include "core/store/database.h"
#include "support/synthetic_track.h"

namespace kv820::test {

// A day of a tracker on 2007/05/12 from 08:00: parked, then three drives of 0.9, 12 and 3 km
// (short, long, middle: the orders of their distances as texts and as numbers differ), each
// ending in a stop. Stored as
// received at the GPS time; returns the reports.
inline std::vector<PositionReport> storeThreeDrives(const std::string& databaseLocation,
                                                    const std::string& imei) {
    SyntheticTrack track(SyntheticTrack::at("2007/05/12", "08:00:00"));
    track.park(600).drive(900, 0, 300).park(600).drive(0, 12000, 900).park(600);
    track.drive(-3000, 0, 420).park(600);
    Database db(databaseLocation);
    storeTrack(db, imei, track.reports);
    return track.reports;
}

}  // namespace kv820::test
