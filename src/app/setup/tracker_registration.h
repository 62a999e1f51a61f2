#pragma once

#include "core/store/user_registry.h"

class QWidget;

namespace kv820 {

class AppContext;

// Registers a tracker that has just taken its setup file: adds its users row, or updates
// name and phone of the first row with its IMEI, then reloads the registry so that every
// user list refills. A database failure, or a registered tracker whose row was deleted
// meanwhile, shows "Add user error." (owned by `owner`); the registry is reloaded from
// the table as it then is.
void RegisterTracker(AppContext& app, QWidget* owner, const UserSlot& tracker);

}  // namespace kv820
