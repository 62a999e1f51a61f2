#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "sim/at_device_simulator.h"
#include "sim/message_store.h"
#include "sim/setup_message_set.h"
#include "sim/sim_card.h"

namespace kv820::sim {

// How a simulated tracker on the cable is set up.
struct TrackerModuleConfig {
    std::string imei = "354612071234567";
    // The version text after "KV-820" in the reply to "tr+fwv"; nullopt: the tracker's
    // firmware does not know the command (old firmware) and answers "ERROR".
    std::optional<std::string> firmwareVersion = "V1.01(2007-05-12)";
    bool wakeEcho = true;              // answers the wake "2" with "2"
    bool answersFirmwareProbe = true;  // its boot loader answers "1" with "C"
    std::string manufacturer = "SIEMENS";
    SimCard::State simState = SimCard::State::Ready;
    std::string simPin = "5184";
    int pinAttempts = SimCard::PinAttempts;
    SetupMessageLayout setupLayout = SetupMessageLayout::Complete;
    SetupValues setup;
    std::size_t capacity = 25;
};

// The GSM module of a tracker on the cable, with the tracker's own "tr+fwv" and wake
// behaviour in front of it. It holds the tracker's setup messages as stored unsent SMS in
// its "ME" memory, lists them with "at^smgl", reads, deletes and writes them ("at+cmgw"
// with the "> " prompt), and guards SMS access with its SIM card's PIN.
class TrackerModuleSimulator : public AtDeviceSimulator {
  public:
    explicit TrackerModuleSimulator(TrackerModuleConfig config = {});

    const TrackerModuleConfig& config() const { return config_; }
    const MessageStore& storage() const { return store_; }
    MessageStore& storage() { return store_; }
    const SimCard& sim() const { return sim_; }
    SimCard& sim() { return sim_; }
    // Replaces the stored messages by a set of setup messages.
    void loadSetupMessages(SetupMessageLayout layout, const SetupValues& values);
    void setFirmwareVersion(std::optional<std::string> version) {
        config_.firmwareVersion = std::move(version);
    }
    void setWakeEcho(bool on) { config_.wakeEcho = on; }

    void tick(std::chrono::steady_clock::time_point now) override;

  protected:
    std::string answerCommand(std::string_view command) override;
    std::string answerWake(char wake) override;
    std::string answerMessageText(std::string_view text) override;
    void cancelMessageText() override { pendingAddress_.reset(); }

  private:
    std::string answerSimCommand(std::string_view command, bool* handled);
    std::string answerStorageCommand(std::string_view command);
    std::string answerPinEntry(std::string_view arguments);
    std::string answerRead(std::string_view argument);
    std::string answerDelete(std::string_view argument);
    std::string answerWrite(std::string_view argument);
    std::string answerStorageSelection(std::string_view argument);
    std::optional<std::string> simNotReadyError() const;

    TrackerModuleConfig config_;
    MessageStore store_;
    SimCard sim_;
    std::optional<std::string> pendingAddress_;
    bool textMode_ = true;
    int bootLoaderPrompts_ = 0;
    std::optional<std::chrono::steady_clock::time_point> lastBootPrompt_;
};

}  // namespace kv820::sim
