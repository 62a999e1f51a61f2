#pragma once

#include "core/alarms/alarm_store.h"
#include "core/records/text_sink.h"

namespace kv820 {

// The events of a filter as CSV, oldest first, under the header
// "time,kind,details,acknowledged,acknowledged_by"; a file without the event tables gives
// the header alone, and nothing is written to it. False when the sink failed.
bool writeEventsCsv(TextSink& sink, AlarmStore& store, const EventFilter& filter);

}  // namespace kv820
