#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sim/reply_schedule.h"
#include "sim/tracker_module_simulator.h"

namespace kv820::sim {

// What "kv820-sim modem|tracker [options]" asked for.
struct CommandLineOptions {
    bool modem = true;
    bool help = false;
    bool echo = true;
    bool ignoreStdin = false;
    int delayMs = 0;
    std::vector<ReplyDelayRule> replyDelays;
    std::optional<unsigned> seed;  // none: a different one on every run
    std::string scenario;
    std::string link;  // a symbolic link that names the current pseudo-terminal
    // modem
    std::size_t capacity = 30;
    std::vector<std::string> storedReports;  // IMEIs
    std::vector<std::string> storedSms;      // FROM=TEXT
    int autoReportSeconds = 0;
    std::vector<std::string> trackers;
    // Modem habits, as control words ("pdu-only on", "lose-cmti every 3").
    std::vector<std::vector<std::string>> habits;
    // tracker
    TrackerModuleConfig tracker;
};

// Throws std::invalid_argument with a readable reason on a bad command line.
CommandLineOptions parseCommandLine(const std::vector<std::string>& arguments);
std::string usageText();

}  // namespace kv820::sim
