#pragma once

#include <span>

#include "core/trips/track_summary.h"

namespace kv820 {

class TextSink;

// CSV (as the record export writes it: RFC 4180, CR LF) under a header row, one record per
// trip, stop or day. Times are local as stored, distances in km, speeds in km/h, degrees
// with six decimals, all with a dot whatever the locale. False when the sink failed.
//   trips:   start_time,end_time,duration_s,distance_km,max_speed_kmh,average_speed_kmh,
//            start_lat,start_lon,end_lat,end_lon
//   stops:   start_time,end_time,duration_s,lat,lon
//   summary: date,distance_km,driving_s,max_speed_kmh,average_speed_kmh,reports
bool writeTripsCsv(TextSink& sink, std::span<const Trip> trips);
bool writeStopsCsv(TextSink& sink, std::span<const Stop> stops);
bool writeDaySummariesCsv(TextSink& sink, std::span<const DaySummary> days);

}  // namespace kv820
