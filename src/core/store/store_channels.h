#pragma once

#include <string_view>

namespace kv820 {

// The notifications the connections to a shared database send one another (Database::notify).
// A receiver sends this when it commits reports or events, so that the desks read them.
inline constexpr std::string_view StoredChannel = "kv820_stored";
// Sent with every change of the users or of their number of slots: receivers and desks
// read the users again, so that a tracker registered at one desk is known everywhere.
inline constexpr std::string_view UsersChannel = "kv820_users";
// A desk sends this when it queues a command; a receiver when it has sent one.
inline constexpr std::string_view CommandsChannel = "kv820_commands";

}  // namespace kv820
