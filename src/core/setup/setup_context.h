#pragma once

#include <array>
#include <optional>
#include <string>

#include "core/setup/setup_file.h"

namespace kv820 {

// What one program run remembers between the steps of a tracker setup: the wizard's
// connect, the SIM PIN entry and the Setup File dialog's write-back. The app owns one.
struct SetupContext {
    // The "COM Port :" entry the wizard used; the later steps reopen the port with it.
    std::string portEntry;
    // The SIM PIN the operator typed and the module accepted; kept for the rest of the
    // run and written into every later tracker's setup file.
    std::string simPin;
    // The PIN stored in the connected tracker's own setup file (digits only), empty when
    // none was read. It applies to this tracker only.
    std::string trackerSimPin;
    // Store index of each setup message found by the last connect, "+1" first.
    std::array<std::optional<int>, SetupMessageCount> storedIndex{};
    // The Setup File dialog was filled from a complete setup file read from the tracker,
    // whose four messages are replaced in place on write-back.
    bool loadedFromDevice = false;
    // The connected tracker's IMEI is already a registered user.
    bool trackerRegistered = false;
};

// The PIN written into the tracker's setup file: the typed one, else the tracker's own,
// else DefaultSimPin.
std::string simPinToWrite(const SetupContext& context);

}  // namespace kv820
