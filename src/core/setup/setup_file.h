#pragma once

#include <array>
#include <string>
#include <string_view>

namespace kv820 {

// The tracker keeps its configuration as four stored, never-sent text messages in its own
// GSM module, addressed "+1" to "+4". Each message is a list of fields, each followed by ",".
inline constexpr int SetupMessageCount = 4;
inline constexpr std::array<int, SetupMessageCount> SetupMessageFieldCounts{15, 7, 6, 1};

// The PIN written when nothing better is known for the tracker's SIM card.
inline constexpr std::string_view DefaultSimPin{"5184"};
// The time-zone field of a tracker whose clock must not be shifted ("Set Time Zone" Off).
inline constexpr std::string_view TimeZoneOffText{"-0.00"};

// Positions of the "Default Report Mode" list; the tracker stores the position itself.
enum class ReportMode { Immediate = 0, Period = 1, Stop = 2 };

// Everything the four setup messages carry, as the Setup File dialog edits it. The
// defaults are the dialog's defaults. Reserved fields are not kept: they are always empty
// (message 3 field 1 is always "5000").
struct SetupFile {
    // Message 1.
    bool defaultReturnEnabled = false;         // field 1
    int maxGpsFixingTime = 3;                  // field 2, 1 to 10
    std::string userName;                      // field 9
    bool timeZoneOn = true;                    // field 10: the computer's offset, or "-0.00"
    ReportMode reportMode = ReportMode::Stop;  // field 11
    std::string reportInterval = "30";         // field 12
    int reportFormat = 1;                      // field 13, 0 or 1
    std::string numberOfReports;               // field 14
    std::string simPin;                        // field 15; the writer decides what goes here
    // Message 2.
    std::array<std::string, 3> sosNumbers;  // fields 1 to 3
    std::string defaultReturnPhone;         // field 4
    std::string reportReturnPhone;          // field 5

    bool operator==(const SetupFile&) const = default;
};

}  // namespace kv820
