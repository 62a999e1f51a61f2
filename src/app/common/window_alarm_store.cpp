#include "app/common/window_alarm_store.h"

#include "app/common/app_context.h"
#include "core/store/database_error.h"

namespace kv820 {

namespace {

Database& alarmsConnection(AppContext& context) {
    if (context.usersConnection() == nullptr) {
        throw DatabaseError("no users connection");
    }
    return *context.usersConnection();
}

}  // namespace

AlarmStore windowAlarmStore(AppContext& context) {
    AlarmStore::ensureTables(alarmsConnection(context));
    return AlarmStore(alarmsConnection(context));
}

ForwardStore windowForwardStore(AppContext& context) {
    return ForwardStore(alarmsConnection(context));
}

std::vector<Geofence> storedFences(AppContext& context) {
    Database& db = alarmsConnection(context);
    return AlarmStore::hasTables(db) ? AlarmStore(db).geofences() : std::vector<Geofence>{};
}

std::map<std::string, TrackerWatch> storedWatches(AppContext& context) {
    Database& db = alarmsConnection(context);
    return AlarmStore::hasTables(db) ? AlarmStore(db).watches()
                                     : std::map<std::string, TrackerWatch>{};
}

}  // namespace kv820
