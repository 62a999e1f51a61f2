#include "core/trips/track_csv.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "core/common/number_text.h"
#include "core/records/csv_writer.h"
#include "core/records/text_sink.h"

namespace kv820 {

namespace {

// Metres as km to the metre; speeds to a tenth of a km/h (reported speeds carry little
// more); degrees to six decimals, as the trackers report them.
std::string km(double metres) {
    return fixedDecimal(metres / 1000, 3);
}
std::string speed(double kmh) {
    return fixedDecimal(kmh, 1);
}
std::string degrees(double value) {
    return fixedDecimal(value, 6);
}
std::string whole(std::int64_t value) {
    return zeroPadded(value, 1);
}

// The header, then each item's fields; stops at the first failed write.
template <typename Item, std::size_t N, typename Fields>
bool writeRecords(TextSink& sink, const std::array<std::string_view, N>& header,
                  std::span<const Item> items, Fields fieldsOf) {
    std::string record;
    appendCsvRecord(record, header);
    if (!sink.write(record)) {
        return false;
    }
    for (const Item& item : items) {
        const std::array<std::string, N> fields = fieldsOf(item);
        std::array<std::string_view, N> views;
        std::copy(fields.begin(), fields.end(), views.begin());
        record.clear();
        appendCsvRecord(record, views);
        if (!sink.write(record)) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool writeTripsCsv(TextSink& sink, std::span<const Trip> trips) {
    static constexpr std::array<std::string_view, 10> Header = {
        "start_time",        "end_time",  "duration_s", "distance_km", "max_speed_kmh",
        "average_speed_kmh", "start_lat", "start_lon",  "end_lat",     "end_lon"};
    return writeRecords(sink, Header, trips, [](const Trip& trip) {
        return std::array<std::string, 10>{trip.startTime,
                                           trip.endTime,
                                           whole(trip.durationSeconds),
                                           km(trip.distanceMetres),
                                           speed(trip.maxSpeedKmh),
                                           speed(trip.averageSpeedKmh),
                                           degrees(trip.startPosition.lat),
                                           degrees(trip.startPosition.lon),
                                           degrees(trip.endPosition.lat),
                                           degrees(trip.endPosition.lon)};
    });
}

bool writeStopsCsv(TextSink& sink, std::span<const Stop> stops) {
    static constexpr std::array<std::string_view, 5> Header = {"start_time", "end_time",
                                                               "duration_s", "lat", "lon"};
    return writeRecords(sink, Header, stops, [](const Stop& stop) {
        return std::array<std::string, 5>{stop.startTime, stop.endTime, whole(stop.durationSeconds),
                                          degrees(stop.position.lat), degrees(stop.position.lon)};
    });
}

bool writeDaySummariesCsv(TextSink& sink, std::span<const DaySummary> days) {
    static constexpr std::array<std::string_view, 6> Header = {
        "date", "distance_km", "driving_s", "max_speed_kmh", "average_speed_kmh", "reports"};
    return writeRecords(sink, Header, days, [](const DaySummary& day) {
        return std::array<std::string, 6>{day.date,
                                          km(day.distanceMetres),
                                          whole(day.drivingSeconds),
                                          speed(day.maxSpeedKmh),
                                          speed(day.averageSpeedKmh),
                                          whole(day.reports)};
    });
}

}  // namespace kv820
