#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/alarms/alarm_store.h"
#include "core/alarms/event_forwarding.h"
#include "core/alarms/forward_store.h"
#include "core/alarms/tracker_events.h"

namespace kv820 {

class Database;
struct PositionReport;

// The events of the reports one session stores, kept on the session's own connection, with
// the forwards of those the operator has forwarded. The fences, watches and forwarding
// settings are read again whenever another connection (the window) changed the file; where
// each tracker stood is taken from the stored events, so a restart raises no second "enter".
class ReportAlarms {
  public:
    // Adds the alarm tables to a file that lacks them. Throws DatabaseError.
    explicit ReportAlarms(Database& db);

    // Inside the transaction that stores the report: stores the events it raises, and
    // queues their forwards, and returns them. They count only after committed(); after
    // rolledBack() the tracker is as before, and the report raises them again when it is stored
    // later.
    std::vector<TrackerEvent> storeEventsOf(const PositionReport& report,
                                            std::chrono::milliseconds arrived);
    void committed();
    void rolledBack();

    // Stores and returns the events of trackers gone silent, with their forwards (which
    // give the last position this session saw). Throws DatabaseError.
    std::vector<TrackerEvent> checkOverdue(std::chrono::milliseconds now,
                                           const std::string& nowText);

    const EventDetector& detector() const { return detector_; }

  private:
    void reloadWhenChanged();
    void queueForwards(const TrackerEvent& event);

    // The name and last position of each tracker whose report this session stored, for
    // the forwards of events without a report.
    struct LastSeen {
        std::string userName;
        std::optional<GeoPoint> position;
    };

    Database& db_;
    AlarmStore store_;
    ForwardStore forwardStore_;
    ForwardSettings forwardSettings_;
    std::map<std::string, LastSeen> lastSeen_;
    EventDetector detector_;
    std::optional<std::int64_t> dataVersion_;
    std::string pendingImei_;
    std::optional<EventDetector::TrackerState> pendingBefore_;
};

}  // namespace kv820
