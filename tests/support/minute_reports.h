#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "core/alarms/geofence.h"
#include "core/common/local_time.h"
#include "core/store/database.h"
#include "core/store/statement.h"
#include "sim/tracker_report.h"

namespace kv820::test {

// Reports of one tracker that differ by their GPS time only, one a minute from 2012-05-12
// 00:00 UTC, so that each stored row tells which report it came from.
inline constexpr std::time_t May2012 = 1336780800;

// A fence of 500 m around the place where the minute reports stand.
inline Geofence depotOfMinuteReports() {
    Geofence depot;
    depot.name = "Depot";
    depot.centre = {25.052057, 121.502057};
    depot.radiusMetres = 500;
    return depot;
}

inline sim::TrackerReport reportOfMinute(const std::string& imei, int n) {
    return sim::TrackerReport::at(imei, 121.502057, 25.052057, May2012 + 60 * n);
}

inline std::vector<sim::TrackerReport> reportsOfMinutes(const std::string& imei, int count) {
    std::vector<sim::TrackerReport> reports;
    for (int n = 0; n < count; ++n) {
        reports.push_back(reportOfMinute(imei, n));
    }
    return reports;
}

// The GPS moment of every stored row, in the order the rows were stored.
inline std::vector<std::string> storedMoments(const std::string& path) {
    Database db(path);
    Statement rows(db, "SELECT gps_date || ' ' || gps_time FROM gpslog ORDER BY rowid");
    std::vector<std::string> moments;
    while (rows.step()) {
        moments.push_back(rows.text(0).value_or(""));
    }
    return moments;
}

// The moments the reports of minutes 0 .. count-1 are stored with (UTC: the tests run in it).
inline std::vector<std::string> momentsOfMinutes(int count) {
    std::vector<std::string> moments;
    for (int n = 0; n < count; ++n) {
        const std::tm t = utcTimeAt(May2012 + 60 * n).value_or(std::tm{});
        char text[32];
        std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", &t);
        moments.emplace_back(text);
    }
    return moments;
}

}  // namespace kv820::test
