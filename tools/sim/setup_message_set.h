#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv820::sim {

// The configuration a tracker keeps as stored unsent messages addressed "+1" to "+4".
struct SetupValues {
    std::string userName = "Tracker 1";
    std::string timeZone = "+8.00";
    std::string pin = "5184";
    std::string defaultReturnEnabled = "0";
    std::string maxFixTime = "3";
    std::string reportMode = "2";
    std::string reportInterval = "30";
    std::string reportFormat = "1";
    std::string reportCount;
    std::string sos1, sos2, sos3;
    std::string defaultReturnNumber;
    std::string reportReturnNumber;
};

// Which messages a simulated tracker holds: all four once, none (a fresh tracker), one
// missing ("+2" gone), or one twice ("+3" doubled).
enum class SetupMessageLayout { Complete, None, Damaged, Doubled };

struct SetupMessage {
    std::string address;  // "+1" .. "+4"
    std::string text;     // fields each followed by ","
};

// The messages in the order a tracker stores them.
std::vector<SetupMessage> setupMessages(const SetupValues& values, SetupMessageLayout layout);

// "complete", "none", "damaged" or "doubled", as options and control commands name them.
std::optional<SetupMessageLayout> setupMessageLayoutFromWord(std::string_view word);

}  // namespace kv820::sim
