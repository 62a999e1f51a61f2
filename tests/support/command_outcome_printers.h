#pragma once

#include <ostream>

#include "core/commands/command_outcome.h"

namespace kv820 {

// Readable failure output for the outcome of a command page.
inline void printTo(const CommandMessage& message, std::ostream* os) {
    *os << "message \"" << message.text << "\" owned by "
        << (message.owner == MessageOwner::Page ? "the page" : "the main window");
}

inline void printTo(const CommandSms& sms, std::ostream* os) {
    *os << "SMS to \"" << sms.destination << "\": \"" << sms.text << '"';
}

}  // namespace kv820
