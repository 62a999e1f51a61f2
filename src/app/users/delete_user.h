#pragma once

#include <cstddef>

class QWidget;

namespace kv820 {

class AppContext;
class RecordSearch;

// Deletes the user at `position` of the users table's order, whatever its name, then
// reloads the registry (every user list refills) and empties the search result when it
// showed that user. A failed delete shows "Delete user error." owned by `dialog`; the
// reload's own failure is owned by `mainWindow`. True when a row was deleted.
bool DeleteUser(AppContext& context, RecordSearch* search, std::size_t position, QWidget* dialog,
                QWidget* mainWindow);

}  // namespace kv820
