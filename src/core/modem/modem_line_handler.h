#pragma once

#include <optional>
#include <string_view>

#include "core/modem/new_sms_handler.h"

namespace kv820 {

// One line the modem sent: it goes to the modem log followed by "\r\n" (so a line ending
// in CR LF shows an empty line after it), and a line holding "+CMTI" is handled as a new
// SMS. Returns that handling's outcome; nullopt for any other line.
std::optional<NewSmsOutcome> HandleModemLine(std::string_view line, NewSmsContext& context);

}  // namespace kv820
