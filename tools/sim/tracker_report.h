#pragma once

#include <ctime>
#include <string>
#include <string_view>

#include "core/report/report_kinds.h"

namespace kv820::sim {

// One position report as a tracker sends it. Every field is kept as the text the tracker
// writes, so that tests can also inject malformed values (a date of zeros, an odd kind).
struct TrackerReport {
    std::string imei;
    std::string kind = std::to_string(PeriodReportCode);
    std::string fix = std::to_string(Fix3dCode);
    std::string gpsDate;           // DDMMYY, UTC
    std::string gpsTime;           // hhmmss, UTC
    std::string longitude;         // E/W dddmm.mmmm
    std::string latitude;          // N/S ddmm.mmmm
    std::string altitude = "100";  // metres
    std::string speedKnots = "0";
    std::string course = "0";
    std::string satellites = "8";
    std::string last = "0";

    // A 3D period report at the given position, GPS time taken from `utc`.
    static TrackerReport at(std::string imei, double longitudeDegrees, double latitudeDegrees,
                            std::time_t utc);
};

// "?" IMEI "," kind "," fix "," date "," time "," lon "," lat "," alt "," speed ","
// course "," satellites "," last "!" — the SMS body the tracker sends.
std::string formatReportBody(const TrackerReport& report);

// Decimal degrees to the tracker's hemisphere fields: 121.502057 -> "E12130.1234",
// 25.052057 -> "N2503.1234", negative values give W and S.
std::string longitudeField(double degrees);
std::string latitudeField(double degrees);

// The converse: "E12130.1234" -> 121.502057; "W07412.3" -> -74.205. A field without a
// known hemisphere letter or without a number gives 0.
double coordinateFieldDegrees(std::string_view field);

// DDMMYY and hhmmss of a UTC moment.
std::string gpsDateField(std::time_t utc);
std::string gpsTimeField(std::time_t utc);

}  // namespace kv820::sim
