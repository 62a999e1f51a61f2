#pragma once

#include <optional>
#include <string>

#include "core/commands/command_outcome.h"

namespace kv820 {

// The registered user a command goes to: the SMS destination and the IMEI the tracker
// recognises its commands by.
struct UserContact {
    std::string phone;
    std::string imei;
};

// What a command page takes from outside itself when its send button is pressed.
struct CommandTarget {
    bool sessionActive = false;                   // a modem session is open
    std::optional<std::string> selectedUserName;  // "User Name :" selection; none when empty
    std::optional<UserContact> user;              // lookup of that name; none when unregistered
};

// The checks both command pages make first, in this order: an open session, then a
// selected name that belongs to a registered user. Without a user there is no destination
// and no IMEI, so nothing may be sent. Returns the refusal, or nothing when both hold.
std::optional<CommandMessage> checkSessionAndUser(const CommandTarget& target);

}  // namespace kv820
