#pragma once

#include <string>
#include <variant>

namespace kv820 {

// Which window a refusal's message box belongs to.
enum class MessageOwner { Page, MainWindow };

// A refusal: nothing is sent, this text is shown in an "ERROR" box owned by `owner`.
struct CommandMessage {
    std::string text;
    MessageOwner owner;

    bool operator==(const CommandMessage&) const = default;
};

// An accepted command: `text` (without the Ctrl-Z) goes to `destination` by SendCommandSms.
struct CommandSms {
    std::string destination;
    std::string text;

    bool operator==(const CommandSms&) const = default;
};

// What a command page decides when its send button is pressed.
using CommandOutcome = std::variant<CommandMessage, CommandSms>;

}  // namespace kv820
