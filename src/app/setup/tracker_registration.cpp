#include "app/setup/tracker_registration.h"

#include "app/shell/alerts.h"
#include "app/shell/app_context.h"
#include "core/store/database_error.h"
#include "core/store/user_store.h"

namespace kv820 {

void RegisterTracker(AppContext& app, QWidget* owner, const UserSlot& tracker) {
    try {
        Database* users = app.usersConnection();
        if (!users) {
            throw DatabaseError("no users connection");
        }
        UserStore(*users).addOrUpdate(tracker);
    } catch (const DatabaseError&) {
        alerts().error(owner, QStringLiteral("Add user error."));
    }
    app.reloadUsers(owner);
}

}  // namespace kv820
