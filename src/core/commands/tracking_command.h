#pragma once

#include "core/commands/command_outcome.h"
#include "core/commands/command_target.h"
#include "core/commands/tracking_command_form.h"

namespace kv820 {

// What pressing "Send Tracking Command" does with the page as filled in. Checks run in a
// fixed order and the first failure is the refusal: the session, the user, the return
// number, then the fields the report mode uses. Otherwise the result is the user's phone
// and the command text, return number suffix included.
CommandOutcome prepareTrackingCommand(const TrackingCommandForm& form, const CommandTarget& target);

}  // namespace kv820
