#pragma once

#include <string>

#include "core/alarms/user_range.h"

namespace kv820 {

class AlarmStore;
class Database;
class TextSink;
struct EventFilter;

// The events of a filter as CSV, oldest first, under the header
// "time,kind,details,acknowledged,acknowledged_by". False when the sink failed.
bool writeEventsCsv(TextSink& sink, AlarmStore& store, const EventFilter& filter);

// Writes the user's events as CSV (writeEventsCsv), oldest first, without writing to the
// database. Returns why it could not (resolveUserRange, or a failed write); empty when
// written. Throws DatabaseError.
std::string writeUserEventsCsv(Database& db, const UserRangeRequest& request, TextSink& sink);

}  // namespace kv820
