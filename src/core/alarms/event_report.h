#pragma once

#include <string>

namespace kv820 {

class AlarmStore;
class Database;
class TextSink;
struct EventFilter;

// The events of a filter as CSV, oldest first, under the header
// "time,kind,details,acknowledged,acknowledged_by". False when the sink failed.
bool writeEventsCsv(TextSink& sink, AlarmStore& store, const EventFilter& filter);

// One user's events over a range of local times ("YYYY/MM/DD hh:mm:ss", both included).
struct UserEventsRequest {
    std::string userName;
    std::string from;
    std::string to;
};

// Writes the user's events as CSV (writeEventsCsv), oldest first, without writing to the
// database. Returns why it could not (an unknown user, a time that is none, a range that
// ends before it starts, a failed write); empty when written. Throws DatabaseError.
std::string writeUserEventsCsv(Database& db, const UserEventsRequest& request, TextSink& sink);

}  // namespace kv820
