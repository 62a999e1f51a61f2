#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace kv820 {

// The "Report Mode :" entries; each value is the entry's index in the list.
enum class TrackingReportMode : int {
    ImmediateReport = 0,
    PeriodReport = 1,
    StopReport = 2,
    Geofence = 3,
    VoiceMonitor = 4,
};

// The geofence is one or the other: the two check boxes behave as a pair of radio buttons.
enum class GeofenceShape { Rectangle, Circle };

inline constexpr std::array<std::string_view, 5> TrackingReportModeNames = {
    "Immediate Report", "Period Report", "Stop Report", "Geofence", "Voice Monitor"};
inline constexpr std::array<std::string_view, 2> ReportFormatNames = {"Format 0", "Format 1"};
// The in/out choice travels in the SMS as the entry's own text.
inline constexpr std::array<std::string_view, 2> GeofenceInOutNames = {"In", "Out"};

// Longest text each edit of the tracking page takes; the return number takes more.
inline constexpr std::size_t TrackingFieldMaxLength = 15;
inline constexpr std::size_t TrackingReturnPhoneMaxLength = 63;

// Everything the SMS Tracking Command page shows, as texts and selections. The defaults are
// the page as it first appears. Disabled fields keep their text; the mode decides what is
// read.
struct TrackingCommandForm {
    TrackingReportMode reportMode = TrackingReportMode::ImmediateReport;
    int reportFormatIndex = 0;
    std::string reportInterval;
    std::string numberOfReports;
    GeofenceShape shape = GeofenceShape::Rectangle;
    std::string longitude1;
    std::string latitude1;
    std::string longitude2;
    std::string latitude2;
    std::string circleLongitude;
    std::string circleLatitude;
    std::string radius;
    std::string inOut{GeofenceInOutNames[0]};
    std::string returnPhone;
};

}  // namespace kv820
