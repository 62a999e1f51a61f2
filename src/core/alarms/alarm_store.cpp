#include "core/alarms/alarm_store.h"

#include "core/alarms/geofence_geojson.h"
#include "core/common/number_text.h"
#include "core/store/database.h"
#include "core/store/statement.h"

namespace kv820 {

namespace {

constexpr const char* TablesSql =
    "CREATE TABLE IF NOT EXISTS events (id INTEGER PRIMARY KEY AUTOINCREMENT, imei TEXT NOT "
    "NULL, time TEXT NOT NULL, kind TEXT NOT NULL, details TEXT NOT NULL, fence_id INTEGER, "
    "acknowledged_at TEXT, acknowledged_by TEXT);\n"
    "CREATE INDEX IF NOT EXISTS events_by_time ON events (time);\n"
    "CREATE TABLE IF NOT EXISTS geofences (id INTEGER PRIMARY KEY AUTOINCREMENT, geojson TEXT "
    "NOT NULL);\n"
    "CREATE TABLE IF NOT EXISTS tracker_watch (imei TEXT PRIMARY KEY, speed_limit_kmh REAL, "
    "period_interval_s INTEGER);";

constexpr const char* EventColumns =
    "SELECT id, imei, time, kind, details, fence_id, acknowledged_at, acknowledged_by "
    "FROM events WHERE (?1 = '' OR imei = ?1) AND (?2 = '' OR kind = ?2) AND "
    "(?3 = '' OR time >= ?3) AND (?4 = '' OR time <= ?4)";

void bindFilter(Statement& query, const EventFilter& filter) {
    query.bind(1, filter.imei)
        .bind(2, filter.kind ? std::string(eventKindText(*filter.kind)) : std::string())
        .bind(3, filter.from)
        .bind(4, filter.to);
}

StoredEvent readEvent(const Statement& row) {
    StoredEvent stored;
    stored.id = row.integer(0);
    stored.event.id = stored.id;
    stored.event.imei = row.text(1).value_or("");
    stored.event.time = row.text(2).value_or("");
    // A kind this program does not know (a later version's) reads as the least alarming.
    stored.event.kind =
        eventKindOfText(row.text(3).value_or("")).value_or(EventKind::ReportingAgain);
    stored.event.details = row.text(4).value_or("");
    stored.event.fenceId = row.integer(5);
    stored.acknowledgedAt = row.text(6).value_or("");
    stored.acknowledgedBy = row.text(7).value_or("");
    return stored;
}

std::optional<std::string> decimalOrNull(const std::optional<double>& value) {
    return value ? std::optional(fixedDecimal(*value, 1)) : std::nullopt;
}

}  // namespace

void AlarmStore::ensureTables(Database& db) {
    if (!hasTables(db)) {
        db.execute(db.schemaSql(TablesSql));
    }
}

bool AlarmStore::hasTables(Database& db) {
    return db.hasTable("events") && db.hasTable("geofences") && db.hasTable("tracker_watch");
}

std::int64_t AlarmStore::appendEvent(const TrackerEvent& event) {
    Statement insert(db_,
                     "INSERT INTO events (imei, time, kind, details, fence_id) VALUES "
                     "(?1, ?2, ?3, ?4, ?5) RETURNING id");
    insert.bind(1, event.imei)
        .bind(2, event.time)
        .bind(3, eventKindText(event.kind))
        .bind(4, event.details)
        .bind(5, event.fenceId);
    return insert.runReturningId();
}

std::vector<StoredEvent> AlarmStore::newestEvents(const EventFilter& filter, std::size_t limit) {
    Statement query(db_, std::string(EventColumns) + " ORDER BY time DESC, id DESC LIMIT ?5");
    bindFilter(query, filter);
    query.bind(5, static_cast<std::int64_t>(limit));
    std::vector<StoredEvent> events;
    while (query.step()) {
        events.push_back(readEvent(query));
    }
    return events;
}

std::int64_t AlarmStore::lastEventId() {
    Statement query(db_, "SELECT max(id) FROM events");
    return query.step() && !query.isNull(0) ? query.integer(0) : 0;
}

std::vector<StoredEvent> AlarmStore::eventsAbove(std::int64_t id, std::size_t limit) {
    Statement query(db_, std::string(EventColumns) + " AND id > ?5 ORDER BY id LIMIT ?6");
    bindFilter(query, {});
    query.bind(5, id).bind(6, static_cast<std::int64_t>(limit));
    std::vector<StoredEvent> events;
    while (query.step()) {
        events.push_back(readEvent(query));
    }
    return events;
}

void AlarmStore::forEachEventOldestFirst(const EventFilter& filter,
                                         const std::function<bool(const StoredEvent&)>& visit) {
    Statement query(db_, std::string(EventColumns) + " ORDER BY time ASC, id ASC");
    bindFilter(query, filter);
    while (query.step() && visit(readEvent(query))) {
    }
}

int AlarmStore::acknowledge(const std::vector<std::int64_t>& ids, const std::string& at,
                            const std::string& by) {
    Statement update(db_,
                     "UPDATE events SET acknowledged_at = ?2, acknowledged_by = ?3 "
                     "WHERE id = ?1 AND acknowledged_at IS NULL");
    int marked = 0;
    for (const std::int64_t id : ids) {
        update.reset();
        update.bind(1, id).bind(2, at).bind(3, by);
        update.run();
        marked += db_.changes();
    }
    return marked;
}

std::vector<std::pair<std::string, std::int64_t>> AlarmStore::lastInside() {
    Statement query(db_,
                    "SELECT imei, fence_id FROM events WHERE kind = 'geofence enter' AND id IN "
                    "(SELECT MAX(id) FROM events WHERE kind IN ('geofence enter', "
                    "'geofence exit') GROUP BY imei, fence_id)");
    std::vector<std::pair<std::string, std::int64_t>> inside;
    while (query.step()) {
        inside.emplace_back(query.text(0).value_or(""), query.integer(1));
    }
    return inside;
}

std::vector<Geofence> AlarmStore::geofences() {
    Statement query(db_, "SELECT id, geojson FROM geofences ORDER BY id");
    std::vector<Geofence> fences;
    while (query.step()) {
        // Each fence is kept in the form it is exported in, read with the same bounds.
        GeofenceImport read = geofencesFromGeojson(query.text(1).value_or(""));
        if (read.fences.size() == 1) {
            read.fences.front().id = query.integer(0);
            fences.push_back(std::move(read.fences.front()));
        }
    }
    return fences;
}

std::int64_t AlarmStore::saveGeofence(const Geofence& fence) {
    const std::string text = geojsonOfGeofences({fence});
    if (fence.id == 0) {
        Statement insert(db_, "INSERT INTO geofences (geojson) VALUES (?1) RETURNING id");
        insert.bind(1, text);
        return insert.runReturningId();
    }
    Statement replace(db_,
                      "INSERT INTO geofences (id, geojson) VALUES (?1, ?2) ON CONFLICT (id) DO "
                      "UPDATE SET geojson = excluded.geojson");
    replace.bind(1, fence.id).bind(2, text).run();
    return fence.id;
}

void AlarmStore::removeGeofence(std::int64_t id) {
    Statement remove(db_, "DELETE FROM geofences WHERE id = ?1");
    remove.bind(1, id).run();
}

std::map<std::string, TrackerWatch> AlarmStore::watches() {
    Statement query(db_, "SELECT imei, speed_limit_kmh, period_interval_s FROM tracker_watch");
    std::map<std::string, TrackerWatch> watches;
    while (query.step()) {
        TrackerWatch& watch = watches[query.text(0).value_or("")];
        if (const auto limit = query.text(1)) {
            watch.speedLimitKmh = leadingDecimal(*limit, false);
        }
        if (query.text(2)) {
            watch.periodInterval = std::chrono::seconds(query.integer(2));
        }
    }
    return watches;
}

void AlarmStore::saveWatch(const std::string& imei, const TrackerWatch& watch) {
    Statement save(db_,
                   "INSERT INTO tracker_watch (imei, speed_limit_kmh, period_interval_s) "
                   "VALUES (?1, ?2, ?3) ON CONFLICT (imei) DO UPDATE SET speed_limit_kmh = "
                   "excluded.speed_limit_kmh, period_interval_s = excluded.period_interval_s");
    save.bind(1, imei).bindOrNull(2, decimalOrNull(watch.speedLimitKmh));
    save.bindOrNull(3, watch.periodInterval
                           ? std::optional(std::to_string(watch.periodInterval->count()))
                           : std::nullopt);
    save.run();
}

}  // namespace kv820
