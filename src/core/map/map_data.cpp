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

std::string LatestTrackRowSql() {
    return "SELECT " + GpslogColumnList() + " FROM gpslog WHERE imei=?1 AND NOT (" +
           GpslogIncompleteCondition() + ") AND gps_status<>'" + NoFixText +
           "' AND gps_pos_lat<>'NO' AND gps_pos_lon<>'NO'"
           " ORDER BY receive_date||receive_time DESC, rowid DESC";
}

void AppendPoint(std::string& out, const MapPoint& point) {
    AppendJsonNumber(out, point.latitude, DegreeDecimals);
    out += ',';
    AppendJsonNumber(out, point.longitude, DegreeDecimals);
}

void AppendKey(std::string& out, const char* key) {
    AppendJsonString(out, key);
    out += ':';
}

void AppendTooltip(std::string& out, const std::string& userName, const ReportRowView& row) {
    AppendKey(out, "tooltip");
    out += '[';
    AppendJsonString(out, userName);
    if (!row.messageStatus.empty()) {
        out += ',';
        AppendJsonString(out, row.messageStatus);
    }
    for (const std::string& line :
         {"GPS time: " + std::string(row.gpsDate) + " " + std::string(row.gpsTime),
          "Speed: " + std::string(row.gpsSpeed) + " km/h", "Fix: " + std::string(row.gpsStatus)}) {
        out += ',';
        AppendJsonString(out, line);
    }
    out += ']';
}

struct TrackPoint {
    MapPoint position;
    std::size_t band;
};

std::size_t SpeedBandOf(std::string_view speed) {
    const auto& bands = TrackSpeedBands();
    const double kmh = LeadingDecimal(speed, false);
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

std::vector<Run> RunsOf(const std::vector<TrackPoint>& points) {
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

void AppendBands(std::string& out, const std::vector<TrackPoint>& points) {
    const std::vector<Run> runs = RunsOf(points);
    const auto& bands = TrackSpeedBands();
    AppendKey(out, "bands");
    out += '[';
    for (std::size_t band = 0; band < bands.size(); ++band) {
        out += band == 0 ? "{" : ",{";
        AppendKey(out, "colour");
        AppendJsonString(out, bands[band].colour);
        out += ',';
        AppendKey(out, "label");
        AppendJsonString(out, bands[band].label);
        out += ',';
        AppendKey(out, "parts");
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
                AppendPoint(out, points[i].position);
            }
            out += ']';
        }
        out += "]}";
    }
    out += ']';
}

// The marker of the tracker in registry slot `slot`; nothing when it has no stored position.
std::optional<FleetMarker> MarkerOf(Database& db, const UserRegistry::Snapshot& users,
                                    std::size_t slot, const std::vector<std::string>& sosImeis) {
    const UserSlot& user = users.users[slot];
    if (user.imei.empty()) {
        return std::nullopt;
    }
    auto row = LatestTrackRow(db, user.imei);
    if (!row) {
        return std::nullopt;
    }
    FleetMarker marker;
    marker.imei = user.imei;
    marker.userName = user.name;
    marker.slot = slot;
    marker.position = *TrackPointPosition(ReportRowViewOf(*row));
    marker.row = std::move(*row);
    marker.sos = std::find(sosImeis.begin(), sosImeis.end(), user.imei) != sosImeis.end();
    return marker;
}

}  // namespace

std::optional<MapPoint> TrackPointPosition(const ReportRowView& row) {
    if (!IsTrackPoint(row) || !IsDecimalWithin(row.gpsPosLat, 90) ||
        !IsDecimalWithin(row.gpsPosLon, 180)) {
        return std::nullopt;
    }
    return MapPoint{LeadingDecimal(row.gpsPosLat), LeadingDecimal(row.gpsPosLon)};
}

const char* TrackerColour(std::size_t slot) {
    static constexpr std::array<const char*, 5> Colours = {"#1f78b4", "#33a02c", "#ff7f00",
                                                           "#6a3d9a", "#b15928"};
    return Colours[slot % Colours.size()];
}

std::optional<GpslogRow> LatestTrackRow(Database& db, const std::string& imei) {
    Statement query(db, LatestTrackRowSql());
    query.bind(1, imei);
    // Rows the store took whose texts are no position (out of range, not a number) are
    // passed over, as the exports pass them over.
    while (query.step()) {
        GpslogRow row;
        for (std::size_t c = 0; c < GpslogColumnCount; ++c) {
            row[c] = query.text(static_cast<int>(c)).value_or(std::string());
        }
        if (TrackPointPosition(ReportRowViewOf(row))) {
            return row;
        }
    }
    return std::nullopt;
}

std::vector<FleetMarker> LoadFleetMarkers(Database& db, const UserRegistry::Snapshot& users,
                                          const std::vector<std::string>& sosImeis) {
    std::vector<FleetMarker> markers;
    for (int slot = 0; slot < users.userCount; ++slot) {
        if (auto marker = MarkerOf(db, users, static_cast<std::size_t>(slot), sosImeis)) {
            markers.push_back(std::move(*marker));
        }
    }
    return markers;
}

std::optional<FleetMarker> LoadFleetMarker(Database& db, const UserRegistry::Snapshot& users,
                                           const std::string& imei,
                                           const std::vector<std::string>& sosImeis) {
    if (imei.empty()) {
        return std::nullopt;
    }
    for (int slot = 0; slot < users.userCount; ++slot) {
        if (users.users[static_cast<std::size_t>(slot)].imei == imei) {
            return MarkerOf(db, users, static_cast<std::size_t>(slot), sosImeis);
        }
    }
    return std::nullopt;
}

std::string MarkerJson(const FleetMarker& marker) {
    std::string out = "{";
    AppendKey(out, "imei");
    AppendJsonString(out, marker.imei);
    out += ',';
    AppendKey(out, "name");
    AppendJsonString(out, marker.userName);
    out += ",\"lat\":";
    AppendJsonNumber(out, marker.position.latitude, DegreeDecimals);
    out += ",\"lon\":";
    AppendJsonNumber(out, marker.position.longitude, DegreeDecimals);
    out += ',';
    AppendKey(out, "colour");
    AppendJsonString(out, TrackerColour(marker.slot));
    out += marker.sos ? ",\"sos\":true," : ",\"sos\":false,";
    AppendTooltip(out, marker.userName, ReportRowViewOf(marker.row));
    out += '}';
    return out;
}

std::string FleetJson(const std::vector<FleetMarker>& markers) {
    std::string out = "{\"markers\":[";
    for (const FleetMarker& marker : markers) {
        if (&marker != &markers.front()) {
            out += ',';
        }
        out += MarkerJson(marker);
    }
    out += "]}";
    return out;
}

std::optional<std::string> CentreJson(const std::string& userName, const ReportRowView& row) {
    const auto position = TrackPointPosition(row);
    if (!position) {
        return std::nullopt;
    }
    std::string out = "{\"lat\":";
    AppendJsonNumber(out, position->latitude, DegreeDecimals);
    out += ",\"lon\":";
    AppendJsonNumber(out, position->longitude, DegreeDecimals);
    out += ',';
    AppendTooltip(out, userName, row);
    out += '}';
    return out;
}

const std::vector<SpeedBand>& TrackSpeedBands() {
    static const std::vector<SpeedBand> Bands = {
        {10, "#2c7bb6", "below 10 km/h"},    {40, "#1a9641", "10 to 40 km/h"},
        {70, "#e6a100", "40 to 70 km/h"},    {100, "#f46d43", "70 to 100 km/h"},
        {0, "#a50026", "100 km/h and more"},
    };
    return Bands;
}

std::optional<std::string> TrackJson(const ReportRows& rows) {
    std::vector<TrackPoint> points;
    const bool readable = rows.forEachOldestFirst([&points](const ReportRowView& row) {
        if (const auto position = TrackPointPosition(row)) {
            points.push_back({*position, SpeedBandOf(row.gpsSpeed)});
        }
        return true;
    });
    if (!readable) {
        return std::nullopt;
    }
    std::string out = "{\"points\":" + std::to_string(points.size());
    if (!points.empty()) {
        out += ",\"start\":[";
        AppendPoint(out, points.front().position);
        out += "],\"end\":[";
        AppendPoint(out, points.back().position);
        out += ']';
    }
    out += ',';
    AppendBands(out, points);
    out += '}';
    return out;
}

}  // namespace kv820
