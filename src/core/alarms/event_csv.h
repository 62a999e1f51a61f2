#pragma once

#include "core/alarms/alarm_store.h"
#include "core/records/text_sink.h"

namespace kv820 {

// The events of a filter as CSV, oldest first, under the header
// "time,kind,details,acknowledged,acknowledged_by". False when the sink failed.
bool writeEventsCsv(TextSink& sink, AlarmStore& store, const EventFilter& filter);

}  // namespace kv820
