#include "core/alarms/tracker_events.h"

#include <algorithm>
#include <array>

#include "core/common/number_text.h"
#include "core/report/position_report.h"
#include "core/report/report_kinds.h"

namespace kv820 {

namespace {

using std::chrono::milliseconds;

constexpr std::array<std::string_view, 6> KindTexts = {
    "geofence enter", "geofence exit", "overspeed", "SOS", "overdue", "reporting again"};

std::string speedText(double kmh) {
    return fixedDecimal(kmh, 1) + " km/h";
}

}  // namespace

std::string_view eventKindText(EventKind kind) {
    return KindTexts[static_cast<std::size_t>(kind)];
}

std::optional<EventKind> eventKindOfText(std::string_view text) {
    const auto found = std::find(KindTexts.begin(), KindTexts.end(), text);
    if (found == KindTexts.end()) {
        return std::nullopt;
    }
    return static_cast<EventKind>(found - KindTexts.begin());
}

std::string eventLogLine(const TrackerEvent& event) {
    return "Event " + std::string(eventKindText(event.kind)) + " of " + event.imei + " at " +
           event.time + (event.details.empty() ? "" : ": " + event.details) + "\r\n";
}

ReportFacts factsOfReport(const PositionReport& report, milliseconds arrived) {
    ReportFacts facts;
    facts.imei = report.imei;
    facts.time = report.gpsDate + " " + report.gpsTime;
    if (report.gpsStatus != NoFixText && isDecimalWithin(report.gpsPosLat, 90) &&
        isDecimalWithin(report.gpsPosLon, 180)) {
        facts.position =
            GeoPoint{leadingDecimal(report.gpsPosLat), leadingDecimal(report.gpsPosLon)};
    }
    facts.speedKmh = leadingDecimal(report.gpsSpeed, false);
    facts.sos = report.messageStatus == SosReportText;
    facts.period = report.messageStatus == PeriodReportText;
    facts.arrived = arrived;
    return facts;
}

void EventDetector::setFences(std::vector<Geofence> fences) {
    fences_ = std::move(fences);
    // A fence that is gone can no longer be left; one that changed is entered anew when
    // the next report finds the tracker in it.
    for (auto& [imei, state] : trackers_) {
        std::erase_if(state.inside, [&](std::int64_t id) {
            return std::none_of(fences_.begin(), fences_.end(),
                                [id](const Geofence& f) { return f.id == id; });
        });
    }
}

void EventDetector::setWatch(const std::string& imei, TrackerWatch watch) {
    watches_[imei] = watch;
}

void EventDetector::restoreInside(const std::string& imei, std::int64_t fenceId) {
    trackers_[imei].inside.insert(fenceId);
}

std::vector<TrackerEvent> EventDetector::onReport(const ReportFacts& report) {
    TrackerState& state = trackers_[report.imei];
    std::vector<TrackerEvent> events;
    if (state.overdueSince) {
        const auto silent =
            std::chrono::duration_cast<std::chrono::minutes>(report.arrived - *state.lastArrival);
        events.push_back({report.imei, EventKind::ReportingAgain, report.time,
                          "silent for " + std::to_string(silent.count()) + " min"});
        state.overdueSince.reset();
    }
    if (report.sos) {
        events.push_back({report.imei, EventKind::Sos, report.time, SosReportText});
    }
    // Without a fix the position says nothing: the fences and the speed stay as they were.
    if (report.position) {
        fenceEvents(report, state, events);
        speedEvent(report, state, events);
    }
    learnInterval(report, state);
    state.lastArrival = report.arrived;
    state.lastTime = report.time;
    return events;
}

void EventDetector::fenceEvents(const ReportFacts& report, TrackerState& state,
                                std::vector<TrackerEvent>& events) const {
    for (const Geofence& fence : fences_) {
        const bool wasInside = state.inside.count(fence.id) > 0;
        const bool isInside = fence.appliesTo(report.imei) && contains(fence, *report.position);
        if (isInside == wasInside) {
            continue;
        }
        events.push_back({report.imei,
                          isInside ? EventKind::GeofenceEnter : EventKind::GeofenceExit,
                          report.time, fence.name, fence.id});
        if (isInside) {
            state.inside.insert(fence.id);
        } else {
            state.inside.erase(fence.id);
        }
    }
}

void EventDetector::speedEvent(const ReportFacts& report, TrackerState& state,
                               std::vector<TrackerEvent>& events) const {
    std::optional<double> limit;
    std::string source = "tracker limit";
    std::int64_t fenceId = 0;
    if (const auto watch = watches_.find(report.imei); watch != watches_.end()) {
        limit = watch->second.speedLimitKmh;
    }
    for (const Geofence& fence : fences_) {
        if (fence.speedLimitKmh && state.inside.count(fence.id) &&
            (!limit || *fence.speedLimitKmh < *limit)) {
            limit = fence.speedLimitKmh;
            source = fence.name;
            fenceId = fence.id;
        }
    }
    if (!limit || report.speedKmh <= *limit) {
        state.speeding = false;
        return;
    }
    if (!state.speeding) {
        events.push_back(
            {report.imei, EventKind::Overspeed, report.time,
             source + ", limit " + speedText(*limit) + ", speed " + speedText(report.speedKmh),
             fenceId});
        state.speeding = true;
    }
}

void EventDetector::learnInterval(const ReportFacts& report, TrackerState& state) const {
    if (!report.period) {
        return;
    }
    if (state.lastPeriodArrival) {
        state.periodGaps.push_back(report.arrived - *state.lastPeriodArrival);
        if (state.periodGaps.size() > LearntGaps) {
            state.periodGaps.pop_front();
        }
    }
    state.lastPeriodArrival = report.arrived;
}

std::optional<milliseconds> EventDetector::expectedInterval(const std::string& imei) const {
    const auto tracker = trackers_.find(imei);
    // Only a tracker that sends period reports is expected to report at all.
    if (tracker == trackers_.end() || !tracker->second.lastPeriodArrival) {
        return std::nullopt;
    }
    if (const auto watch = watches_.find(imei);
        watch != watches_.end() && watch->second.periodInterval) {
        return *watch->second.periodInterval;
    }
    std::vector<milliseconds> gaps(tracker->second.periodGaps.begin(),
                                   tracker->second.periodGaps.end());
    if (gaps.empty()) {
        return std::nullopt;
    }
    std::nth_element(gaps.begin(), gaps.begin() + gaps.size() / 2, gaps.end());
    return gaps[gaps.size() / 2];
}

EventDetector::TrackerState EventDetector::trackerState(const std::string& imei) const {
    const auto tracker = trackers_.find(imei);
    return tracker == trackers_.end() ? TrackerState{} : tracker->second;
}

void EventDetector::restoreTrackerState(const std::string& imei, TrackerState state) {
    trackers_[imei] = std::move(state);
}

bool EventDetector::isOverdue(const std::string& imei) const {
    const auto tracker = trackers_.find(imei);
    return tracker != trackers_.end() && tracker->second.overdueSince.has_value();
}

std::vector<TrackerEvent> EventDetector::checkOverdue(milliseconds now,
                                                      const std::string& nowText) {
    std::vector<TrackerEvent> events;
    for (auto& [imei, state] : trackers_) {
        const auto interval = expectedInterval(imei);
        if (!interval || !state.lastArrival || state.overdueSince) {
            continue;
        }
        const milliseconds allowed =
            std::max<milliseconds>(*interval * OverdueIntervals, MinimumSilence);
        if (now - *state.lastArrival > allowed) {
            state.overdueSince = now;
            events.push_back(
                {imei, EventKind::Overdue, nowText,
                 "last report " + state.lastTime + ", expected every " +
                     std::to_string(
                         std::chrono::duration_cast<std::chrono::seconds>(*interval).count()) +
                     " s"});
        }
    }
    return events;
}

}  // namespace kv820
