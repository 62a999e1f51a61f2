#include "core/alarms/event_report.h"

#include <array>

#include "core/alarms/alarm_store.h"
#include "core/records/csv_writer.h"
#include "core/records/text_sink.h"

namespace kv820 {

bool writeEventsCsv(TextSink& sink, AlarmStore& store, const EventFilter& filter) {
    static constexpr std::array<std::string_view, 5> Header = {"time", "kind", "details",
                                                               "acknowledged", "acknowledged_by"};
    std::string record;
    appendCsvRecord(record, Header);
    bool written = sink.write(record);
    if (!store.hasTables()) {
        return written;  // a file made before the events were kept has none
    }
    store.forEachEventOldestFirst(filter, [&](const StoredEvent& stored) {
        record.clear();
        const std::array<std::string_view, 5> fields = {
            stored.event.time, eventKindText(stored.event.kind), stored.event.details,
            stored.acknowledgedAt, stored.acknowledgedBy};
        appendCsvRecord(record, fields);
        written = written && sink.write(record);
        return written;
    });
    return written;
}

std::string writeUserEventsCsv(Database& db, const UserRangeRequest& request, TextSink& sink) {
    const ResolvedUserRange resolved = resolveUserRange(db, request);
    if (!resolved.user) {
        return resolved.error;
    }
    AlarmStore store(db);
    EventFilter filter;
    filter.imei = resolved.user->imei;
    filter.from = request.from;
    filter.to = request.to;
    return writeEventsCsv(sink, store, filter) ? "" : "The events could not be written.";
}

}  // namespace kv820
