#pragma once

#include <optional>
#include <string>

#include "core/store/user_registry.h"

namespace kv820 {

class Database;

// One user's events or reports over a range of local times ("YYYY/MM/DD hh:mm:ss", both
// included), as a script asks for them.
struct UserRangeRequest {
    std::string userName;
    std::string from;
    std::string to;
};

// The registered user a request names, or why it cannot be served.
struct ResolvedUserRange {
    std::optional<UserSlot> user;
    std::string error;  // empty when `user` is set
};

// Checks the times first (a text that is no time, a range that ends before it starts),
// then looks the user up by name. Throws DatabaseError.
ResolvedUserRange resolveUserRange(Database& db, const UserRangeRequest& request);

}  // namespace kv820
