#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/alarms/geofence.h"
#include "core/alarms/tracker_events.h"

namespace kv820 {

class Database;

// An event as stored, with who acknowledged it and when (both empty until then).
struct StoredEvent {
    std::int64_t id = 0;
    TrackerEvent event;
    std::string acknowledgedAt;
    std::string acknowledgedBy;
};

// Which events a list or an export shows; an empty field does not filter.
struct EventFilter {
    std::string imei;
    std::optional<EventKind> kind;
    std::string from;  // local "YYYY/MM/DD hh:mm:ss", inclusive
    std::string to;
};

// The tables of the fences, the events and what the operator set per tracker. They sit
// beside users and gpslog in the same file, which they never change.
class AlarmStore {
  public:
    explicit AlarmStore(Database& db) : db_(db) {}

    // Adds the tables a file made before them lacks; a file that has them is not written.
    static void ensureTables(Database& db);
    // False when the file has no event tables (one made before them): a read that must not
    // write then finds nothing.
    static bool hasTables(Database& db);
    bool hasTables() const { return hasTables(db_); }

    // Within the caller's transaction, so that a report and its events are stored together.
    // Returns the stored event's id.
    std::int64_t appendEvent(const TrackerEvent& event);
    // Newest first, at most `limit`.
    std::vector<StoredEvent> newestEvents(const EventFilter& filter, std::size_t limit);
    // The highest event id stored, 0 for none: a desk follows the events after it.
    std::int64_t lastEventId();
    // Up to `limit` events with an id above `id`, by id.
    std::vector<StoredEvent> eventsAbove(std::int64_t id, std::size_t limit);
    // Oldest first, for exports; the visitor returns false to stop.
    void forEachEventOldestFirst(const EventFilter& filter,
                                 const std::function<bool(const StoredEvent&)>& visit);
    // Marks the events not yet acknowledged; returns how many it marked.
    int acknowledge(const std::vector<std::int64_t>& ids, const std::string& at,
                    const std::string& by);
    // Where each tracker was inside a fence at its last stored fence event.
    std::vector<std::pair<std::string, std::int64_t>> lastInside();

    std::vector<Geofence> geofences();
    // Stores a new fence (its id is given to it) or replaces the stored one of its id.
    std::int64_t saveGeofence(const Geofence& fence);
    void removeGeofence(std::int64_t id);

    std::map<std::string, TrackerWatch> watches();
    void saveWatch(const std::string& imei, const TrackerWatch& watch);

  private:
    Database& db_;
};

}  // namespace kv820
