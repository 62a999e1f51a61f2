#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/trips/track_fix.h"
#include "core/trips/track_summary.h"
#include "core/trips/trip_finder.h"

namespace kv820 {

class ReportRows;

// What the window shows of a searched range: its trips, stops and days, and every fix in
// moment order for the speed chart and the path of a chosen trip.
struct TrackAnalysis {
    TrackSummary summary;
    std::vector<TrackFix> fixes;
};

// One walk over `rows` feeding the trip finder and keeping the fixes. `keepGoing` is asked
// before each row: a search replaced meanwhile ends the walk at once. Nothing when the rows
// could not be read to the end or the walk was ended.
std::optional<TrackAnalysis> analyzeTrack(const ReportRows& rows,
                                          const std::function<bool()>& keepGoing,
                                          const TripSettings& settings = {});

// The fixes (sorted by moment) from the trip's start to its end, both included.
std::span<const TrackFix> fixesOfTrip(std::span<const TrackFix> fixes, const Trip& trip);

// The speed chart's points: at most `maxPoints` of the fixes, the fastest of each run of
// equal length, so that no peak is lost however long the range:
// {"t":[local seconds,...],"v":[km/h,...],"lat":[...],"lon":[...]}
std::string speedChartJson(std::span<const TrackFix> fixes, std::size_t maxPoints);

// A chosen trip for the map: its path (at most `maxPoints`, always its first and last fix),
// its ends and a label: {"path":[lat,lon,...],"start":[lat,lon],"end":[lat,lon],"label":"..."}
std::string tripPathJson(const Trip& trip, std::span<const TrackFix> fixes, std::size_t maxPoints);

}  // namespace kv820
