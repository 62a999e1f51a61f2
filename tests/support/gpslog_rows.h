#pragma once

#include <string>

#include "core/store/gpslog_row.h"

namespace kv820::test {

// A complete stored report of `imei` received at `date` `time`, its fix taken at the same
// moment, in the column order of the gpslog table.
inline GpslogRow reportRow(const std::string& imei, const std::string& date,
                           const std::string& time, const std::string& status = "3D",
                           const std::string& lat = "25.047924") {
    return {imei,   date, time,     lat,  "121.517081", date,           time,
            status, "12", "0.0000", "90", "7",          "Period report"};
}

}  // namespace kv820::test
