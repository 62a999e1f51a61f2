#include "core/trips/track_analysis.h"

#include <algorithm>

#include "core/common/json_text.h"
#include "core/records/report_rows.h"
#include "core/trips/local_moment.h"

namespace kv820 {

namespace {

// Degrees to six decimals, as the trackers report them; speeds to a tenth.
constexpr int DegreeDecimals = 6, SpeedDecimals = 1;

std::optional<std::int64_t> momentOfText(const std::string& moment) {
    // "YYYY/MM/DD hh:mm:ss"
    if (moment.size() < 12) {
        return std::nullopt;
    }
    return localSecondsOf(std::string_view(moment).substr(0, 10),
                          std::string_view(moment).substr(11));
}

void appendPoint(std::string& out, const GeoPoint& point) {
    out += '[';
    appendJsonNumber(out, point.lat, DegreeDecimals);
    out += ',';
    appendJsonNumber(out, point.lon, DegreeDecimals);
    out += ']';
}

// `key`:[value of each fix], numbers only.
template <typename Value>
void appendSeries(std::string& out, const char* key, const std::vector<const TrackFix*>& fixes,
                  Value valueOf, int decimals) {
    out += '"';
    out += key;
    out += "\":[";
    for (std::size_t i = 0; i < fixes.size(); ++i) {
        if (i > 0) {
            out += ',';
        }
        appendJsonNumber(out, valueOf(*fixes[i]), decimals);
    }
    out += ']';
}

}  // namespace

std::optional<TrackAnalysis> analyzeTrack(const ReportRows& rows,
                                          const std::function<bool()>& keepGoing,
                                          const TripSettings& settings) {
    TripFinder finder(settings);
    TrackAnalysis analysis;
    bool ended = false;
    const bool read = rows.forEachOldestFirst([&](const ReportRowView& row) {
        if (!keepGoing()) {
            ended = true;
            return false;
        }
        finder.add(row);
        if (const auto fix = trackFixOf(row)) {
            analysis.fixes.push_back(*fix);
        }
        return true;
    });
    if (!read || ended) {
        return std::nullopt;
    }
    // Oldest received first is nearly moment order: a late SMS finds its place here.
    std::stable_sort(analysis.fixes.begin(), analysis.fixes.end(),
                     [](const TrackFix& a, const TrackFix& b) { return a.moment < b.moment; });
    analysis.summary = finder.finish();
    return analysis;
}

std::span<const TrackFix> fixesOfTrip(std::span<const TrackFix> fixes, const Trip& trip) {
    const auto from = momentOfText(trip.startTime);
    const auto to = momentOfText(trip.endTime);
    if (!from || !to) {
        return {};
    }
    const auto first = std::lower_bound(
        fixes.begin(), fixes.end(), *from,
        [](const TrackFix& fix, std::int64_t moment) { return fix.moment < moment; });
    const auto last = std::upper_bound(
        first, fixes.end(), *to,
        [](std::int64_t moment, const TrackFix& fix) { return moment < fix.moment; });
    return {first, last};
}

std::string speedChartJson(std::span<const TrackFix> fixes, std::size_t maxPoints) {
    std::vector<const TrackFix*> shown;
    const std::size_t run =
        maxPoints == 0 ? fixes.size() + 1 : (fixes.size() + maxPoints - 1) / maxPoints;
    for (std::size_t start = 0; start < fixes.size() && maxPoints > 0; start += run) {
        const auto end =
            fixes.begin() + static_cast<std::ptrdiff_t>(std::min(start + run, fixes.size()));
        shown.push_back(&*std::max_element(
            fixes.begin() + static_cast<std::ptrdiff_t>(start), end,
            [](const TrackFix& a, const TrackFix& b) { return a.speedKmh < b.speedKmh; }));
    }
    std::string out = "{";
    appendSeries(
        out, "t", shown, [](const TrackFix& f) { return double(f.moment); }, 0);
    out += ',';
    appendSeries(
        out, "v", shown, [](const TrackFix& f) { return f.speedKmh; }, SpeedDecimals);
    out += ',';
    appendSeries(
        out, "lat", shown, [](const TrackFix& f) { return f.position.lat; }, DegreeDecimals);
    out += ',';
    appendSeries(
        out, "lon", shown, [](const TrackFix& f) { return f.position.lon; }, DegreeDecimals);
    return out + '}';
}

std::string tripPathJson(const Trip& trip, std::span<const TrackFix> fixes, std::size_t maxPoints) {
    const std::span<const TrackFix> path = fixesOfTrip(fixes, trip);
    const std::size_t step = std::max<std::size_t>(
        1, maxPoints < 2 ? path.size() : (path.size() + maxPoints - 2) / (maxPoints - 1));
    std::string out = "{\"path\":[";
    const auto appendFix = [&out](const TrackFix& fix, bool first) {
        if (!first) {
            out += ',';
        }
        appendJsonNumber(out, fix.position.lat, DegreeDecimals);
        out += ',';
        appendJsonNumber(out, fix.position.lon, DegreeDecimals);
    };
    for (std::size_t i = 0; i < path.size(); i += step) {
        appendFix(path[i], i == 0);
    }
    if (!path.empty() && (path.size() - 1) % step != 0) {
        appendFix(path.back(), false);
    }
    out += "],\"start\":";
    appendPoint(out, trip.startPosition);
    out += ",\"end\":";
    appendPoint(out, trip.endPosition);
    out += ",\"label\":";
    appendJsonString(out, trip.startTime + " - " + trip.endTime);
    return out + '}';
}

}  // namespace kv820
