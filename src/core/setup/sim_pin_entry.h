#pragma once

#include <string>
#include <string_view>

#include "core/at/com_port.h"
#include "core/setup/setup_context.h"

namespace kv820 {

enum class SimPinOutcome {
    WrongLength,      // not 4 to 8 characters; nothing was sent
    NotDigits,        // a character other than 0-9; nothing was sent
    Accepted,         // the module took the PIN: connect again
    Locked,           // wrong PIN, the SIM now wants its PUK
    TwoAttemptsLeft,  // wrong PIN, try again
    OneAttemptLeft,   // wrong PIN, try again
    SetupError,       // any other reply
};

// Sends the typed PIN to the tracker's module on context.portEntry and reads its
// remaining-attempts counter. The port is closed again before this returns. context.simPin
// is cleared first and holds the typed PIN afterwards only when the module accepted it, so
// a refused PIN is never written into a setup file.
SimPinOutcome enterSimPin(ComPort& port, std::string_view typedPin, SetupContext& context);

// The message shown for an outcome (caption simPinOutcomeCaption).
std::string_view simPinOutcomeMessage(SimPinOutcome outcome);
// "KV820 Setup" for Accepted, "ERROR" for the others.
std::string_view simPinOutcomeCaption(SimPinOutcome outcome);
// Whether the SIM PIN dialog stays open for another try after the message.
bool simPinDialogStaysOpen(SimPinOutcome outcome);

}  // namespace kv820
