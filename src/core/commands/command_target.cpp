#include "core/commands/command_target.h"

#include "core/commands/command_messages.h"

namespace kv820 {

std::optional<CommandMessage> checkSessionAndUser(const CommandTarget& target) {
    if (!target.sessionActive) {
        return CommandMessage{ConnectionErrorText, MessageOwner::Page};
    }
    // An empty name is never a registered user: it is how a free registry slot looks.
    const bool named = target.selectedUserName && !target.selectedUserName->empty();
    if (!named || !target.user) {
        return CommandMessage{NoUserChosenText, MessageOwner::Page};
    }
    return std::nullopt;
}

}  // namespace kv820
