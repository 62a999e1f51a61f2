#pragma once

#include "core/commands/command_outcome.h"
#include "core/commands/command_target.h"
#include "core/commands/config_command_form.h"

namespace kv820 {

// What pressing "Send Configuration Command" does with the page as filled in. Checks run in
// a fixed order and the first failure is the refusal: the session, the user, the return
// number, then the fields of the selected parameter. Otherwise the result is the user's phone
// and the "?7," command text, return number suffix included.
CommandOutcome prepareConfigCommand(const ConfigCommandForm& form, const CommandTarget& target);

}  // namespace kv820
