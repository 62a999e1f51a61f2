#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/at/com_port.h"
#include "core/setup/setup_context.h"
#include "core/setup/setup_file.h"
#include "core/setup/setup_progress.h"
#include "core/store/user_registry.h"

namespace kv820 {

enum class ConnectOutcome {
    SetupFileRead,     // complete setup file: open the Setup File dialog with it
    SetupFileDamaged,  // missing or doubled messages, deleted: dialog with defaults
    ComPortError,      // no Siemens module answered, or no usable IMEI
    UserLimitReached,  // five users and this tracker is none of them
    NoSimCard,         // "ERROR" in the SIM state
    SimPinRequired,    // the SIM wants its PIN: open the SIM PIN dialog
    SimLocked,         // the SIM wants its PUK
    ConnectError,      // the message listing failed
};

struct ConnectResult {
    ConnectOutcome outcome = ConnectOutcome::ComPortError;
    std::string imei;
    std::string firmwareVersion;
    // Name and phone of the registered user with this IMEI; empty for a new tracker.
    std::string registeredName;
    std::string registeredPhone;
    // The decoded setup file (SetupFileRead) or the dialog's defaults (SetupFileDamaged).
    SetupFile setupFile;
};

struct ConnectTrackerHooks {
    SetupProgress progress;
    // Resets the lines of every port of the wizard's list, before the port is opened.
    std::function<void()> pulseBreakOnListedPorts;
};

// Wakes the tracker on the cable, identifies its module and SIM, and reads its setup file.
// portEntry is the selected "COM Port :" entry. The port is closed when this returns.
// Fills context (port entry, stored indices, registered flag, the tracker's stored PIN).
ConnectResult ConnectTracker(ComPort& port, const std::string& portEntry, SetupContext& context,
                             const UserRegistry::Snapshot& users, const ConnectTrackerHooks& hooks);

// The ERROR message for an outcome, with the number of slots where more than five were
// chosen; empty for SetupFileRead and SimPinRequired.
std::string connectOutcomeMessage(ConnectOutcome outcome,
                                  std::size_t userSlots = UserRegistry::MaxUsers);

}  // namespace kv820
