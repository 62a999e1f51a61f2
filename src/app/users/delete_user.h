#pragma once

#include <cstddef>
#include <optional>
#include <string>

class QWidget;

namespace kv820 {

class AppContext;

// Deletes the user at `position` of the users table's order, whatever its name, then
// reloads the registry (every user list refills). A failed delete shows "Delete user
// error." owned by `dialog`; the reload's own failure is owned by `mainWindow`. The name
// of the deleted user; nothing when no row was deleted.
std::optional<std::string> DeleteUser(AppContext& context, std::size_t position, QWidget* dialog,
                                      QWidget* mainWindow);

}  // namespace kv820
