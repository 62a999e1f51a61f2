#include "app/users/delete_user.h"

#include <QString>
#include <optional>
#include <string>

#include "app/common/app_context.h"
#include "core/store/database_error.h"
#include "core/store/user_store.h"

namespace kv820 {

namespace {

// The name of the row at `position`, read just before it is deleted; nothing when the
// row is not there or the table cannot be read.
std::optional<std::string> deleteRowAt(Database& db, std::size_t position) {
    UserStore users(db);
    const std::vector<UserSlot> rows = users.readUsers(position + 1);
    if (rows.size() <= position || !users.deleteAt(position)) {
        return std::nullopt;
    }
    return rows[position].name;
}

}  // namespace

std::optional<std::string> DeleteUser(AppContext& context, std::size_t position, QWidget* dialog,
                                      QWidget* mainWindow) {
    std::optional<std::string> deletedName;
    try {
        if (Database* db = context.usersConnection()) {
            deletedName = deleteRowAt(*db, position);
        }
    } catch (const DatabaseError&) {
        deletedName.reset();
    }
    if (!deletedName) {
        context.services().alerts->error(dialog, QStringLiteral("Delete user error."));
    }
    // The registry and every user list follow the table, whether or not the delete ran.
    context.reloadUsers(mainWindow);
    return deletedName;
}

}  // namespace kv820
