#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kv820::sim {

// The SIM card in a tracker's GSM module: its lock state and the counters of wrong PIN
// and PUK entries. Three wrong PINs lock it; then it wants its PUK (ten attempts).
class SimCard {
  public:
    enum class State { Ready, PinRequired, PukRequired, Absent };
    static constexpr int PinAttempts = 3;
    static constexpr int PukAttempts = 10;

    SimCard() = default;
    SimCard(State state, std::string pin, std::string puk = "12345678")
        : state_(state), pin_(std::move(pin)), puk_(std::move(puk)) {}

    State state() const { return state_; }
    const std::string& pin() const { return pin_; }
    // Counter of the password the card wants now (the PIN's, or the PUK's once locked).
    int attemptsLeft() const { return state_ == State::PukRequired ? pukAttempts_ : pinAttempts_; }
    void setPinAttempts(int attempts) { pinAttempts_ = attempts; }

    enum class Entry { Accepted, Wrong, NotAllowed };
    // "at+cpin=<pin>" while the PIN is wanted, "at+cpin=<puk>,<new pin>" while locked.
    Entry enter(std::string_view password, std::string_view newPin = {});

  private:
    Entry enterPin(std::string_view pin);
    Entry enterPuk(std::string_view puk, std::string_view newPin);

    State state_ = State::Ready;
    std::string pin_ = "5184";
    std::string puk_ = "12345678";
    int pinAttempts_ = PinAttempts;
    int pukAttempts_ = PukAttempts;
};

// "ready", "pin", "puk" or "none", as options and control commands name them.
std::optional<SimCard::State> simStateFromWord(std::string_view word);

}  // namespace kv820::sim
