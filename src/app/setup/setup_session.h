#pragma once

#include <functional>

#include "app/common/app_services.h"
#include "app/ports/port_devices.h"
#include "core/setup/setup_context.h"
#include "core/store/user_registry.h"

class QWidget;

namespace kv820 {

// What the setup's windows share for the whole program run: the context the steps hand
// on to each other (the SIM PIN typed once stays known), the devices, the program's
// services that show their messages, and the two things they need from the rest of the
// program. Only the UI thread touches it; a conversation works on a copy of the context
// and hands the copy back with its result.
struct SetupSession {
    SetupContext context;
    PortDevices devices;
    AppServices services;
    // The registered users as they are now.
    std::function<UserRegistry::Snapshot()> registeredUsers = [] {
        return UserRegistry::Snapshot{};
    };
    // Adds or updates the tracker's user row and refreshes every list that shows users;
    // failures are shown with `owner` as the owner of the message.
    std::function<void(QWidget* owner, const UserSlot& tracker)> registerTracker =
        [](QWidget*, const UserSlot&) {};
};

}  // namespace kv820
