#pragma once

#include <atomic>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/pty_simulator.h"

namespace kv820::sim {

// The simulator's control commands, one per line (from standard input or a scenario
// file). Each command answers with zero or more lines and then "ok" or "error: <why>".
class ControlChannel {
  public:
    explicit ControlChannel(PtySimulator& simulator) : simulator_(simulator) {}

    std::string execute(std::string_view line);
    bool quitRequested() const { return quit_; }

    static std::string helpText();

  private:
    std::string run(const std::vector<std::string>& words);
    std::string runModemCommand(const std::vector<std::string>& words, bool* handled);
    std::string runTrackerCommand(const std::vector<std::string>& words, bool* handled);
    std::string runFaultCommand(const std::vector<std::string>& words, bool* handled);
    std::string listSent();
    std::string listStored();

    PtySimulator& simulator_;
    std::atomic<bool> quit_{false};
};

// Builds a report from "IMEI key=value ..." words (keys: kind fix date time lon lat alt
// speed course sats last); lon and lat in decimal degrees or as E/W, N/S fields. Date and
// time are those of `utc` unless the words give them.
TrackerReport reportFromWords(const std::vector<std::string>& words, std::size_t first,
                              std::time_t utc = std::time(nullptr));

std::vector<std::string> splitWords(std::string_view line);

// A modem habit the words turn on or off ("pdu-only on", "lose-cmti every 3", ...), shared
// by the control channel and the command line; nullopt when the words name none. Throws
// std::invalid_argument for a habit with wrong words.
std::optional<std::function<void(ModemHabits&)>> habitFromWords(
    const std::vector<std::string>& words);

}  // namespace kv820::sim
