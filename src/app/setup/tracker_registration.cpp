#include "app/setup/tracker_registration.h"

#include "app/common/app_context.h"
#include "core/store/database_error.h"
#include "core/store/user_store.h"

namespace kv820 {

void RegisterTracker(AppContext& app, QWidget* owner, const UserSlot& tracker) {
    try {
        Database* users = app.usersConnection();
        if (!users) {
            throw DatabaseError("no users connection");
        }
        // A tracker the registry holds keeps its row; if that row is gone, it is an error.
        UserStore store(*users);
        if (app.registry().FindUserByImei(tracker.imei)) {
            store.updateRegistered(tracker);
        } else {
            store.addOrUpdate(tracker);
        }
    } catch (const DatabaseError&) {
        app.services().alerts->error(owner, QStringLiteral("Add user error."));
    }
    app.reloadUsers(owner);
}

}  // namespace kv820
