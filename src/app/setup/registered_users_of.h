#pragma once

#include "core/setup/registered_users.h"
#include "core/store/user_registry.h"

namespace kv820 {

// The setup's view of the registry: its five slots in list order and the number loaded.
RegisteredUsers RegisteredUsersOf(const UserRegistry& registry);

}  // namespace kv820
