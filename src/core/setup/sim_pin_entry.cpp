#include "core/setup/sim_pin_entry.h"

#include "core/commands/input_validators.h"

namespace kv820 {

namespace {

constexpr std::size_t MinPinLength = 4;
constexpr std::size_t MaxPinLength = 8;

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// The decision on the module's answers: the PIN reply first, then the counter, whose
// texts are looked for in the order "10", "2", "1" so that 10 is never taken for 1.
SimPinOutcome decide(const ModemReply& pinReply, std::string_view counterReply) {
    if (pinReply.ok()) {
        return SimPinOutcome::Accepted;
    }
    if (!pinReply.contains("ERROR")) {
        return SimPinOutcome::SetupError;
    }
    if (contains(counterReply, "10")) {
        return SimPinOutcome::Locked;
    }
    if (contains(counterReply, "2")) {
        return SimPinOutcome::TwoAttemptsLeft;
    }
    if (contains(counterReply, "1")) {
        return SimPinOutcome::OneAttemptLeft;
    }
    return SimPinOutcome::SetupError;
}

}  // namespace

SimPinOutcome enterSimPin(ComPort& port, std::string_view typedPin, SetupContext& context) {
    context.simPin.clear();
    if (typedPin.size() < MinPinLength || typedPin.size() > MaxPinLength) {
        return SimPinOutcome::WrongLength;
    }
    if (!IsDigitString(typedPin)) {
        return SimPinOutcome::NotDigits;
    }
    port.OpenComPort(context.portEntry);
    const ModemReply pinReply =
        port.exchange("at+cpin=" + std::string(typedPin), reply_timeout::Module);
    const std::string counterReply = port.exchange("at^spic", reply_timeout::Module, "\r\n").text;
    port.CloseComPort();
    const SimPinOutcome outcome = decide(pinReply, counterReply);
    if (outcome == SimPinOutcome::Accepted) {
        context.simPin = std::string(typedPin);
    }
    return outcome;
}

std::string_view simPinOutcomeMessage(SimPinOutcome outcome) {
    switch (outcome) {
        case SimPinOutcome::WrongLength:
            return "The password must be 4~8 digits.";
        case SimPinOutcome::NotDigits:
            return "The password must be digits.";
        case SimPinOutcome::Accepted:
            return "Your SIM PIN is correct. Continue set up.";
        case SimPinOutcome::Locked:
            return "Input ERROR. Your SIM card is locked.";
        case SimPinOutcome::TwoAttemptsLeft:
            return "Input ERROR. You have 2 attempts left.";
        case SimPinOutcome::OneAttemptLeft:
            return "Input ERROR. You have 1 attempts left.";
        case SimPinOutcome::SetupError:
            break;
    }
    return "KV820 Setup is ERROR.";
}

std::string_view simPinOutcomeCaption(SimPinOutcome outcome) {
    return outcome == SimPinOutcome::Accepted ? "KV820 Setup" : "ERROR";
}

bool simPinDialogStaysOpen(SimPinOutcome outcome) {
    switch (outcome) {
        case SimPinOutcome::WrongLength:
        case SimPinOutcome::NotDigits:
        case SimPinOutcome::TwoAttemptsLeft:
        case SimPinOutcome::OneAttemptLeft:
            return true;
        default:
            return false;
    }
}

}  // namespace kv820
