#include "core/alarms/event_csv.h"

#include <array>

#include "core/records/csv_writer.h"

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

}  // namespace kv820
