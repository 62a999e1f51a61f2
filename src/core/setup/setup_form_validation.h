#pragma once

#include <optional>
#include <string_view>

#include "core/setup/setup_form.h"
#include "core/store/user_registry.h"

namespace kv820 {

// The first check of the Setup File dialog that fails, in the dialog's fixed order, with
// the message shown for it (caption "ERROR"); nothing when every check passes. Disabled
// fields are checked like enabled ones. Lengths count bytes.
std::optional<std::string_view> ValidateSetupForm(const SetupForm& form,
                                                  const UserRegistry::Snapshot& users);

}  // namespace kv820
