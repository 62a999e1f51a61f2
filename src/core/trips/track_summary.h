#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/common/great_circle.h"

namespace kv820 {

// What the operator may tune later; the defaults suit trackers reporting every few seconds
// to a few minutes.
struct TripSettings {
    // A stop: reports within this distance of its first report...
    double stopRadiusMetres = 200;
    // ...for at least this long.
    std::int64_t stopMinimumSeconds = 180;
    // A silence this long with movement across it is checked for speed: faster than
    // `gapTopSpeedKmh` the tracker was carried or one fix was wrong, and no trip is drawn
    // across it (what came before ends at the silence's start).
    std::int64_t gapSeconds = 3600;
    double gapTopSpeedKmh = 250;
    // Reports are put back into GPS time order over this many: an SMS delayed behind fewer
    // later reports still takes its place. One later still is counted on its day but not
    // measured.
    std::size_t reorderReports = 32;
};

// Local times are "YYYY/MM/DD hh:mm:ss", as the store writes them.
struct Trip {
    std::string startTime;
    std::string endTime;
    GeoPoint startPosition;
    GeoPoint endPosition;
    std::int64_t durationSeconds = 0;
    double distanceMetres = 0;   // the great-circle lengths of its legs
    double maxSpeedKmh = 0;      // the highest speed its reports carry
    double averageSpeedKmh = 0;  // distance over duration; 0 for no duration
};

struct Stop {
    std::string startTime;
    std::string endTime;
    std::int64_t durationSeconds = 0;
    GeoPoint position;  // the mean of its reports
    std::size_t reports = 0;
};

// One local day (the date of the GPS times). Distance and driving time are those of the
// trips' legs that day (a leg across midnight is shared by time); standing still is none.
struct DaySummary {
    std::string date;  // "YYYY/MM/DD"
    double distanceMetres = 0;
    std::int64_t drivingSeconds = 0;
    double maxSpeedKmh = 0;      // the highest speed of the trips' reports that day
    double averageSpeedKmh = 0;  // distance over driving time
    std::size_t reports = 0;     // every report of the day, with a fix or not
};

// Trips and stops oldest first, days in calendar order.
struct TrackSummary {
    std::vector<Trip> trips;
    std::vector<Stop> stops;
    std::vector<DaySummary> days;
};

}  // namespace kv820
