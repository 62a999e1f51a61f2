#pragma once

#include <array>
#include <string_view>

namespace kv820 {

// Column headers of the record lists, in list order: the user name, then the twelve
// report columns. The CSV export repeats them as its header row.
inline constexpr std::array<std::string_view, 13> ReportListHeaders{
    "User Name",       "Receive_Date",  "Receive_Time",  "GPS_Latitude",
    "GPS_Longitude",   "GPS_Date",      "GPS_Time",      "GPS_Status",
    "GPS_Altitude(m)", "GPS_Speed(km)", "GPS_Direciton", "GPS_Number_Satellite",
    "Message_Status"};

}  // namespace kv820
