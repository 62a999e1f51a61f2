#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace kv820 {

// The thirteen text columns of one stored position report, in table order.
enum GpslogColumn : std::size_t {
    Imei,
    ReceiveDate,
    ReceiveTime,
    GpsPosLat,
    GpsPosLon,
    GpsDate,
    GpsTime,
    GpsStatus,
    GpsAltitude,
    GpsSpeed,
    GpsDirection,
    GpsNumber,
    MessageStatus,
    GpslogColumnCount
};

inline constexpr std::array<const char*, GpslogColumnCount> GpslogColumnNames = {
    "imei",          "receive_date", "receive_time",  "gps_pos_lat",  "gps_pos_lon",
    "gps_date",      "gps_time",     "gps_status",    "gps_altitude", "gps_speed",
    "gps_direction", "gps_number",   "message_status"};

using GpslogRow = std::array<std::string, GpslogColumnCount>;

}  // namespace kv820
