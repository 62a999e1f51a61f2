#include "core/map/map_data.h"

#include <algorithm>
#include <array>

#include "core/common/json_text.h"
#include "core/common/number_text.h"
#include "core/records/report_row_view.h"
#include "core/records/stored_range_rows.h"
#include "core/report/report_kinds.h"
#include "core/store/gpslog_store.h"
#include "core/store/statement.h"

namespace kv820 {

namespace {

// Six decimals are what the trackers send: about 0.1 m.
constexpr int DegreeDecimals = 6;

std::string latestTrackRowSql() {
    return "SELECT " + gpslogColumnList() + " FROM gpslog WHERE imei=?1 AND NOT (" +
           gpslogIncompleteCondition() + ") AND gps_status<>'" + NoFixText +
           "' AND gps_pos_lat<>'NO' AND gps_pos_lon<>'NO'"
           " ORDER BY receive_date||receive_time DESC, rowid DESC";
}

void appendPoint(std::string& out, const MapPoint& point) {
    appendJsonNumber(out, point.latitude, DegreeDecimals);
    out += ',';
    appendJsonNumber(out, point.longitude, DegreeDecimals);
}

void appendKey(std::string& out, const char* key) {
    appendJsonString(out, key);
    out += ':';
}

void appendTooltip(std::string& out, const std::string& userName, const ReportRowView& row) {
    appendKey(out, "tooltip");
    out += '[';
    appendJsonString(out, userName);
    if (!row.messageStatus.empty()) {
        out += ',';
        appendJsonString(out, row.messageStatus);
    }
    for (const std::string& line :
         {"GPS time: " + std::string(row.gpsDate) + " " + std::string(row.gpsTime),
          "Speed: " + std::string(row.gpsSpeed) + " km/h", "Fix: " + std::string(row.gpsStatus)}) {
        out += ',';
        appendJsonString(out, line);
    }
    out += ']';
}

struct TrackPoint {
    MapPoint position;
    std::size_t band;
};

std::size_t speedBandOf(std::string_view speed) {
    const auto& bands = trackSpeedBands();
    const double kmh = leadingDecimal(speed, false);
    std::size_t band = 0;
    while (band + 1 < bands.size() && kmh >= bands[band].below) {
        ++band;
    }
    return band;
}

// A run of segments of one band: points first..last, both included.
struct Run {
    std::size_t band;
    std::size_t first;
    std::size_t last;
};

std::vector<Run> runsOf(const std::vector<TrackPoint>& points) {
    std::vector<Run> runs;
    for (std::size_t i = 1; i < points.size(); ++i) {
        if (runs.empty() || runs.back().band != points[i].band) {
            runs.push_back({points[i].band, i - 1, i});
        } else {
            runs.back().last = i;
        }
    }
    return runs;
}

void appendBands(std::string& out, const std::vector<TrackPoint>& points) {
    const std::vector<Run> runs = runsOf(points);
    const auto& bands = trackSpeedBands();
    appendKey(out, "bands");
    out += '[';
    for (std::size_t band = 0; band < bands.size(); ++band) {
        out += band == 0 ? "{" : ",{";
        appendKey(out, "colour");
        appendJsonString(out, bands[band].colour);
        out += ',';
        appendKey(out, "label");
        appendJsonString(out, bands[band].label);
        out += ',';
        appendKey(out, "parts");
        out += '[';
        bool firstPart = true;
        for (const Run& run : runs) {
            if (run.band != band) {
                continue;
            }
            out += firstPart ? "[" : ",[";
            firstPart = false;
            for (std::size_t i = run.first; i <= run.last; ++i) {
                if (i != run.first) {
                    out += ',';
                }
                appendPoint(out, points[i].position);
            }
            out += ']';
        }
        out += "]}";
    }
    out += ']';
}

// The marker of the tracker in registry slot `slot`; nothing when it has no stored position.
std::optional<FleetMarker> markerOf(Database& db, const UserRegistry::Snapshot& users,
                                    std::size_t slot, const std::vector<std::string>& sosImeis) {
    const UserSlot& user = users.users[slot];
    if (user.imei.empty()) {
        return std::nullopt;
    }
    auto row = latestTrackRow(db, user.imei);
    if (!row) {
        return std::nullopt;
    }
    FleetMarker marker;
    marker.imei = user.imei;
    marker.userName = user.name;
    marker.slot = slot;
    marker.position = *trackPointPosition(reportRowViewOf(*row));
    marker.row = std::move(*row);
    marker.sos = std::find(sosImeis.begin(), sosImeis.end(), user.imei) != sosImeis.end();
    return marker;
}

}  // namespace

std::optional<MapPoint> trackPointPosition(const ReportRowView& row) {
    if (!isTrackPoint(row) || !isDecimalWithin(row.gpsPosLat, 90) ||
        !isDecimalWithin(row.gpsPosLon, 180)) {
        return std::nullopt;
    }
    return MapPoint{leadingDecimal(row.gpsPosLat), leadingDecimal(row.gpsPosLon)};
}

const char* trackerColour(std::size_t slot) {
    static constexpr std::array<const char*, 5> Colours = {"#1f78b4", "#33a02c", "#ff7f00",
                                                           "#6a3d9a", "#b15928"};
    return Colours[slot % Colours.size()];
}

std::optional<GpslogRow> latestTrackRow(Database& db, const std::string& imei) {
    Statement query(db, latestTrackRowSql());
    query.bind(1, imei);
    // Rows the store took whose texts are no position (out of range, not a number) are
    // passed over, as the exports pass them over.
    while (query.step()) {
        GpslogRow row;
        for (std::size_t c = 0; c < GpslogColumnCount; ++c) {
            row[c] = query.text(static_cast<int>(c)).value_or(std::string());
        }
        if (trackPointPosition(reportRowViewOf(row))) {
            return row;
        }
    }
    return std::nullopt;
}

std::vector<FleetMarker> loadFleetMarkers(Database& db, const UserRegistry::Snapshot& users,
                                          const std::vector<std::string>& sosImeis) {
    std::vector<FleetMarker> markers;
    for (int slot = 0; slot < users.userCount; ++slot) {
        if (auto marker = markerOf(db, users, static_cast<std::size_t>(slot), sosImeis)) {
            markers.push_back(std::move(*marker));
        }
    }
    return markers;
}

std::optional<FleetMarker> loadFleetMarker(Database& db, const UserRegistry::Snapshot& users,
                                           const std::string& imei,
                                           const std::vector<std::string>& sosImeis) {
    if (imei.empty()) {
        return std::nullopt;
    }
    for (int slot = 0; slot < users.userCount; ++slot) {
        if (users.users[static_cast<std::size_t>(slot)].imei == imei) {
            return markerOf(db, users, static_cast<std::size_t>(slot), sosImeis);
        }
    }
    return std::nullopt;
}

std::string markerJson(const FleetMarker& marker) {
    std::string out = "{";
    appendKey(out, "imei");
    appendJsonString(out, marker.imei);
    out += ',';
    appendKey(out, "name");
    appendJsonString(out, marker.userName);
    out += ",\"lat\":";
    appendJsonNumber(out, marker.position.latitude, DegreeDecimals);
    out += ",\"lon\":";
    appendJsonNumber(out, marker.position.longitude, DegreeDecimals);
    out += ',';
    appendKey(out, "colour");
    appendJsonString(out, trackerColour(marker.slot));
    out += marker.sos ? ",\"sos\":true," : ",\"sos\":false,";
    appendTooltip(out, marker.userName, reportRowViewOf(marker.row));
    out += '}';
    return out;
}

std::string fleetJson(const std::vector<FleetMarker>& markers) {
    std::string out = "{\"markers\":[";
    for (const FleetMarker& marker : markers) {
        if (&marker != &markers.front()) {
            out += ',';
        }
        out += markerJson(marker);
    }
    out += "]}";
    return out;
}

std::optional<std::string> centreJson(const std::string& userName, const ReportRowView& row) {
    const auto position = trackPointPosition(row);
    if (!position) {
        return std::nullopt;
    }
    std::string out = "{\"lat\":";
    appendJsonNumber(out, position->latitude, DegreeDecimals);
    out += ",\"lon\":";
    appendJsonNumber(out, position->longitude, DegreeDecimals);
    out += ',';
    appendTooltip(out, userName, row);
    out += '}';
    return out;
}

const std::vector<SpeedBand>& trackSpeedBands() {
    static const std::vector<SpeedBand> Bands = {
        {10, "#2c7bb6", "below 10 km/h"},    {40, "#1a9641", "10 to 40 km/h"},
        {70, "#e6a100", "40 to 70 km/h"},    {100, "#f46d43", "70 to 100 km/h"},
        {0, "#a50026", "100 km/h and more"},
    };
    return Bands;
}

std::optional<std::string> trackJson(const ReportRows& rows) {
    std::vector<TrackPoint> points;
    const bool readable = rows.forEachOldestFirst([&points](const ReportRowView& row) {
        if (const auto position = trackPointPosition(row)) {
            points.push_back({*position, speedBandOf(row.gpsSpeed)});
        }
        return true;
    });
    if (!readable) {
        return std::nullopt;
    }
    std::string out = "{\"points\":" + std::to_string(points.size());
    if (!points.empty()) {
        out += ",\"start\":[";
        appendPoint(out, points.front().position);
        out += "],\"end\":[";
        appendPoint(out, points.back().position);
        out += ']';
    }
    out += ',';
    appendBands(out, points);
    out += '}';
    return out;
}

}  // namespace kv820
