#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace kv820 {

// The "Configuration Parameter :" entries; each value is the entry's index in the list.
enum class ConfigParameter : int {
    SmsDefaultReturnNumber = 0,
    MaximumGpsFixingTime = 1,
    DefaultReportModeSetting = 2,
    SosNumber = 3,
};

// The "Default Report Mode :" entries; the index is what the SMS carries.
enum class DefaultReportMode : int {
    SmsImmediateReport = 0,
    SmsPeriodReport = 1,
    StopReport = 2,
};

inline constexpr std::array<std::string_view, 4> ConfigParameterNames = {
    "SMS Default Return Number", "Maximum GPS Fixing Time", "Default Report Mode Setting",
    "SOS Number"};
inline constexpr std::array<std::string_view, 3> DefaultReportModeNames = {
    "SMS Immediate Report", "SMS Period Report", "Stop Report"};
// "Maximum GPS Fixing Time :" offers 1 to 10; the selected text is sent as it is.
inline constexpr std::array<std::string_view, 10> MaximumGpsFixingTimeNames = {
    "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
inline constexpr int DefaultMaximumGpsFixingTimeIndex = 2;
inline constexpr int DefaultConfigReportFormatIndex = 1;

// Longest text each edit of the configuration page takes.
inline constexpr std::size_t ConfigFieldMaxLength = 63;

// Everything the SMS Configuration Command page shows, as texts and selections. The
// defaults are the page as it first appears. Disabled fields keep their text; the parameter
// decides what is read.
struct ConfigCommandForm {
    ConfigParameter parameter = ConfigParameter::SmsDefaultReturnNumber;
    bool defaultReturnSwitch = false;  // the check box before the default return number
    std::string defaultReturnNumber;
    std::string maximumGpsFixingTime{MaximumGpsFixingTimeNames[DefaultMaximumGpsFixingTimeIndex]};
    DefaultReportMode defaultReportMode = DefaultReportMode::StopReport;
    std::string reportInterval;
    int reportFormatIndex = DefaultConfigReportFormatIndex;
    std::string numberOfReports;
    std::string defaultModeReturnPhone;  // "Return Phone Number for Default Report Mode :"
    std::string sosNumber1;
    std::string sosNumber2;
    std::string sosNumber3;
    std::string returnPhone;  // where the answer to this command goes
};

}  // namespace kv820
