#include "core/trips/trip_finder.h"

#include <algorithm>
#include <utility>

#include "core/common/number_text.h"
#include "core/records/report_rows.h"
#include "core/report/position_report.h"
#include "core/report/report_kinds.h"
#include "core/trips/local_moment.h"
#include "core/trips/track_fix.h"

namespace kv820 {

namespace {

constexpr double MetresPerSecondInKmh = 3.6;

// A longitude difference taken the shorter way round, so that a stop on the 180th
// meridian averages to where it stands, not to the other side of the Earth.
double lonOffset(double lon, double reference) {
    double offset = lon - reference;
    if (offset > 180) {
        offset -= 360;
    } else if (offset < -180) {
        offset += 360;
    }
    return offset;
}

double kmh(double metres, std::int64_t seconds) {
    return seconds > 0 ? metres / static_cast<double>(seconds) * MetresPerSecondInKmh : 0;
}

}  // namespace

void TripFinder::add(const PositionReport& report) {
    addReport(report);
}

void TripFinder::add(const ReportRowView& report) {
    addReport(report);
}

template <typename Report>
void TripFinder::addReport(const Report& report) {
    const std::optional<std::int64_t> moment = localSecondsOf(report.gpsDate, report.gpsTime);
    if (!moment) {
        return;
    }
    days_.addReport(*moment);
    const std::optional<GeoPoint> position = fixPositionOf(report);
    if (!position) {
        return;
    }
    queue_.push({{*moment, *position, leadingDecimal(report.gpsSpeed, false)}, arrivals_++});
    if (queue_.size() > settings_.reorderReports) {
        take(queue_.top().fix);
        queue_.pop();
    }
}

TrackSummary TripFinder::finish() {
    for (; !queue_.empty(); queue_.pop()) {
        take(queue_.top().fix);
    }
    if (candidate_) {
        endCandidate();
        candidate_.reset();
    }
    return {std::move(trips_), std::move(stops_), days_.summaries()};
}

void TripFinder::take(const Fix& fix) {
    if (!last_) {
        last_ = fix;
        startCandidate(fix);
        return;
    }
    if (fix.moment < last_->moment) {
        return;  // later than the reorder window: counted on its day, not measured
    }
    const Fix previous = *std::exchange(last_, fix);
    const Candidate& candidate = *candidate_;
    const double fromAnchor = distanceMetres(candidate.anchor.position, fix.position);
    const bool near = fromAnchor <= settings_.stopRadiusMetres;
    // The leg from the report before (the candidate's latest); a formed stop's jitter is
    // never measured, which saves most of a parked year's trigonometry.
    const double metres = near && candidate.confirmed ? 0
                          : candidate.reports == 1
                              ? fromAnchor
                              : distanceMetres(previous.position, fix.position);
    if (near) {
        stayNear(previous, fix, metres);
    } else if (isJump(previous, fix, metres)) {
        endCandidate();
        startCandidate(fix);
    } else {
        leaveCandidate();
        driveLeg(previous, fix, metres);
        startCandidate(fix);
    }
}

bool TripFinder::isJump(const Fix& previous, const Fix& fix, double metres) const {
    const std::int64_t seconds = fix.moment - previous.moment;
    return seconds > settings_.gapSeconds && kmh(metres, seconds) > settings_.gapTopSpeedKmh;
}

void TripFinder::stayNear(const Fix& previous, const Fix& fix, double metres) {
    Candidate& stop = *candidate_;
    stop.latest = fix;
    stop.latOffsetSum += fix.position.lat - stop.anchor.position.lat;
    stop.lonOffsetSum += lonOffset(fix.position.lon, stop.anchor.position.lon);
    ++stop.reports;
    if (stop.confirmed) {
        return;  // parked: jitter is no distance
    }
    pending_.metres += metres;
    pending_.maxSpeedKmh = std::max(pending_.maxSpeedKmh, fix.speedKmh);
    pending_.days.addLeg(previous.moment, fix.moment, metres);
    pending_.days.addSpeed(fix.moment, fix.speedKmh);
    if (fix.moment - stop.anchor.moment >= settings_.stopMinimumSeconds) {
        stop.confirmed = true;
        if (trip_) {
            closeTrip(stop.anchor);
        }
        pending_ = {};
    }
}

// The tracker left the radius of the anchor: a formed stop ends and a trip starts at its
// last report; an unformed one was part of the trip, which starts at its anchor when the
// range began there.
void TripFinder::leaveCandidate() {
    if (candidate_->confirmed) {
        closeStop();
        openTrip(candidate_->latest);
        return;
    }
    if (!trip_) {
        openTrip(candidate_->anchor);
    }
    trip_->metres += pending_.metres;
    trip_->maxSpeedKmh = std::max(trip_->maxSpeedKmh, pending_.maxSpeedKmh);
    days_.takeFrom(pending_.days);
    pending_ = {};
}

void TripFinder::driveLeg(const Fix& previous, const Fix& fix, double metres) {
    trip_->metres += metres;
    trip_->maxSpeedKmh = std::max(trip_->maxSpeedKmh, fix.speedKmh);
    days_.addLeg(previous.moment, fix.moment, metres);
    days_.addSpeed(fix.moment, fix.speedKmh);
}

// What is open ends at the candidate's last report: a formed stop, or the trip that led
// into an unformed one. Reports that never left the first radius of a range are no trip.
void TripFinder::endCandidate() {
    if (candidate_->confirmed) {
        closeStop();
    } else if (trip_) {
        leaveCandidate();
        closeTrip(candidate_->latest);
    }
    pending_ = {};
}

void TripFinder::startCandidate(const Fix& fix) {
    candidate_ = Candidate{fix, fix};
}

void TripFinder::openTrip(const Fix& start) {
    trip_ = OpenTrip{start, 0, start.speedKmh};
    days_.addSpeed(start.moment, start.speedKmh);
}

void TripFinder::closeTrip(const Fix& end) {
    const OpenTrip& trip = *trip_;
    const std::int64_t seconds = end.moment - trip.start.moment;
    trips_.push_back({localMomentText(trip.start.moment), localMomentText(end.moment),
                      trip.start.position, end.position, seconds, trip.metres, trip.maxSpeedKmh,
                      kmh(trip.metres, seconds)});
    trip_.reset();
}

void TripFinder::closeStop() {
    const Candidate& stop = *candidate_;
    const double count = static_cast<double>(stop.reports);
    GeoPoint mean{stop.anchor.position.lat + stop.latOffsetSum / count,
                  stop.anchor.position.lon + stop.lonOffsetSum / count};
    mean.lon = lonOffset(mean.lon, 0);
    stops_.push_back({localMomentText(stop.anchor.moment), localMomentText(stop.latest.moment),
                      stop.latest.moment - stop.anchor.moment, mean, stop.reports});
}

TrackSummary summarizeTrack(std::span<const PositionReport> reports, const TripSettings& settings) {
    TripFinder finder(settings);
    for (const PositionReport& report : reports) {
        finder.add(report);
    }
    return finder.finish();
}

std::optional<TrackSummary> summarizeTrack(const ReportRows& rows, const TripSettings& settings) {
    TripFinder finder(settings);
    if (!rows.forEachOldestFirst([&finder](const ReportRowView& row) {
            finder.add(row);
            return true;
        })) {
        return std::nullopt;
    }
    return finder.finish();
}

}  // namespace kv820
