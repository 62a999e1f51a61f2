#include "core/alarms/event_report.h"

#include <array>
#include <optional>

#include "core/alarms/alarm_store.h"
#include "core/alarms/event_time.h"
#include "core/records/csv_writer.h"
#include "core/records/text_sink.h"
#include "core/store/user_store.h"

namespace kv820 {

namespace {

std::string rangeError(const UserEventsRequest& request) {
    for (const std::string* time : {&request.from, &request.to}) {
        if (!isEventTimeText(*time)) {
            return "\"" + *time + "\" is no time of the form YYYY/MM/DD hh:mm:ss.";
        }
    }
    return request.from > request.to ? "The range starts after it ends." : "";
}

}  // namespace

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

std::string writeUserEventsCsv(Database& db, const UserEventsRequest& request, TextSink& sink) {
    if (std::string error = rangeError(request); !error.empty()) {
        return error;
    }
    UserRegistry users;
    LoadUsers(db, users);
    const std::optional<UserSlot> user = users.FindUserByName(request.userName);
    if (!user) {
        return "No user is named \"" + request.userName + "\".";
    }
    AlarmStore store(db);
    EventFilter filter;
    filter.imei = user->imei;
    filter.from = request.from;
    filter.to = request.to;
    return writeEventsCsv(sink, store, filter) ? "" : "The events could not be written.";
}

}  // namespace kv820
