#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kv820 {

// Turns a stored GPS date and time ("YYYY/MM/DD", "HH:MM:SS", local time of this computer
// under the zone rules in force at that moment) into UTC as ISO 8601 with a "Z"
// ("2007-05-12T02:03:04Z"). Texts that are not a calendar moment, such as the unconverted
// "2000/00/00", give nothing.
std::optional<std::string> gpsLocalTimeToUtcIso(std::string_view date, std::string_view time);

}  // namespace kv820
