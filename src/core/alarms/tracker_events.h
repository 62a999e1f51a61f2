#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/alarms/geofence.h"

namespace kv820 {

struct PositionReport;

enum class EventKind { GeofenceEnter, GeofenceExit, Overspeed, Sos, Overdue, ReportingAgain };
// Every kind, in the order lists offer them.
inline constexpr std::array<EventKind, 6> EventKinds = {
    EventKind::GeofenceEnter, EventKind::GeofenceExit, EventKind::Overspeed,
    EventKind::Sos,           EventKind::Overdue,      EventKind::ReportingAgain};

// The kind as stored, listed and exported ("geofence enter", "overspeed", ...).
std::string_view eventKindText(EventKind kind);
std::optional<EventKind> eventKindOfText(std::string_view text);

// Something about a tracker the operator may have to act on.
struct TrackerEvent {
    std::string imei;
    EventKind kind = EventKind::Sos;
    std::string time;  // local "YYYY/MM/DD hh:mm:ss": the report's GPS time, or the check's
    std::string details;
    std::int64_t fenceId = 0;  // the fence it concerns; 0 for none
    std::int64_t id = 0;       // its row in the events table once stored; 0 before
    bool operator==(const TrackerEvent&) const = default;
};

// What the events of one report depend on.
struct ReportFacts {
    std::string imei;
    std::string time;                  // the report's GPS time, local, as stored
    std::optional<GeoPoint> position;  // only with a fix and a valid position
    double speedKmh = 0;
    bool sos = false;
    bool period = false;
    std::chrono::milliseconds arrived{0};  // on the program's monotonic clock
};

// One line for logs: "Event overspeed of 354612071234567 at 2026/03/02 08:00:00: ...".
std::string eventLogLine(const TrackerEvent& event);

ReportFacts factsOfReport(const PositionReport& report, std::chrono::milliseconds arrived);

// What the operator set for one tracker.
struct TrackerWatch {
    std::optional<double> speedLimitKmh;
    // The interval of the last Period command sent to it; none: learnt from its reports.
    std::optional<std::chrono::seconds> periodInterval;
};

// Turns reports into events, one tracker's history at a time. Not thread-safe: the
// session that stores the reports owns it.
class EventDetector {
  public:
    // A tracker is overdue after this many of its intervals without a report, and never
    // before MinimumSilence.
    static constexpr int OverdueIntervals = 3;
    static constexpr std::chrono::minutes MinimumSilence{5};
    // How many gaps between period reports the learnt interval is the median of.
    static constexpr std::size_t LearntGaps = 9;

    // What the detector remembers of one tracker.
    struct TrackerState {
        std::set<std::int64_t> inside;
        bool speeding = false;
        std::optional<std::chrono::milliseconds> lastArrival;
        std::optional<std::chrono::milliseconds> lastPeriodArrival;
        std::deque<std::chrono::milliseconds> periodGaps;
        std::string lastTime;
        std::optional<std::chrono::milliseconds> overdueSince;
    };

    void setFences(std::vector<Geofence> fences);
    void setWatch(const std::string& imei, TrackerWatch watch);
    // After a restart: the tracker was inside the fence at its last stored report.
    void restoreInside(const std::string& imei, std::int64_t fenceId);

    std::vector<TrackerEvent> onReport(const ReportFacts& report);
    // The trackers that went silent too long since the last check; `nowText` is the local
    // time the events carry.
    std::vector<TrackerEvent> checkOverdue(std::chrono::milliseconds now,
                                           const std::string& nowText);

    // The interval a tracker is expected to report at, when known.
    std::optional<std::chrono::milliseconds> expectedInterval(const std::string& imei) const;
    bool isOverdue(const std::string& imei) const;

    // For a report whose storing may fail: its tracker's state is taken before and put back
    // when the report and its events were not stored.
    TrackerState trackerState(const std::string& imei) const;
    void restoreTrackerState(const std::string& imei, TrackerState state);

  private:
    void fenceEvents(const ReportFacts& report, TrackerState& state,
                     std::vector<TrackerEvent>& events) const;
    void speedEvent(const ReportFacts& report, TrackerState& state,
                    std::vector<TrackerEvent>& events) const;
    void learnInterval(const ReportFacts& report, TrackerState& state) const;

    std::vector<Geofence> fences_;
    std::map<std::string, TrackerWatch, std::less<>> watches_;
    std::map<std::string, TrackerState, std::less<>> trackers_;
};

}  // namespace kv820
