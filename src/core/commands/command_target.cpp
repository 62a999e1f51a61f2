#include "core/commands/command_target.h"

namespace kv820 {

std::optional<CommandMessage> CheckSessionAndUser(const CommandTarget& target) {
    if (!target.sessionActive) {
        return CommandMessage{"Connection is ERROR!!!", MessageOwner::Page};
    }
    // An empty name is never a registered user: it is how a free registry slot looks.
    const bool named = target.selectedUserName && !target.selectedUserName->empty();
    if (!named || !target.user) {
        return CommandMessage{"No user is choosed.", MessageOwner::Page};
    }
    return std::nullopt;
}

}  // namespace kv820
