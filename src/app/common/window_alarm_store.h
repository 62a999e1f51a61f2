#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/alarms/alarm_store.h"
#include "core/alarms/forward_store.h"

namespace kv820 {

class AppContext;

// The fences and the trackers' watches as the window keeps them: through its users
// connection, whose commits the session reads on its next report.

// Adds the tables on first use. Throws DatabaseError.
AlarmStore windowAlarmStore(AppContext& context);
// A look that never writes: a file without the tables has no fences and no watches.
// Throws DatabaseError.
std::vector<Geofence> storedFences(AppContext& context);
// The forwarding settings and log; its reads never write, its save adds the tables.
ForwardStore windowForwardStore(AppContext& context);
std::map<std::string, TrackerWatch> storedWatches(AppContext& context);

}  // namespace kv820
