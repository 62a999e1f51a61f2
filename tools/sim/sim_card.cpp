#include "sim/sim_card.h"

namespace kv820::sim {

SimCard::Entry SimCard::enter(std::string_view password, std::string_view newPin) {
    switch (state_) {
        case State::PinRequired:
            return enterPin(password);
        case State::PukRequired:
            return enterPuk(password, newPin);
        case State::Ready:
        case State::Absent:
            return Entry::NotAllowed;
    }
    return Entry::NotAllowed;
}

SimCard::Entry SimCard::enterPin(std::string_view pin) {
    if (pin == pin_) {
        state_ = State::Ready;
        pinAttempts_ = PinAttempts;
        return Entry::Accepted;
    }
    if (--pinAttempts_ <= 0) {
        pinAttempts_ = 0;
        state_ = State::PukRequired;
    }
    return Entry::Wrong;
}

SimCard::Entry SimCard::enterPuk(std::string_view puk, std::string_view newPin) {
    if (pukAttempts_ <= 0) {
        return Entry::NotAllowed;
    }
    if (puk != puk_ || newPin.empty()) {
        --pukAttempts_;
        return Entry::Wrong;
    }
    pin_ = std::string(newPin);
    state_ = State::Ready;
    pinAttempts_ = PinAttempts;
    pukAttempts_ = PukAttempts;
    return Entry::Accepted;
}

std::optional<SimCard::State> simStateFromWord(std::string_view word) {
    if (word == "ready")
        return SimCard::State::Ready;
    if (word == "pin")
        return SimCard::State::PinRequired;
    if (word == "puk")
        return SimCard::State::PukRequired;
    if (word == "none")
        return SimCard::State::Absent;
    return std::nullopt;
}

}  // namespace kv820::sim
