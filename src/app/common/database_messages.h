#pragma once

namespace kv820 {

// What the operator reads when the database cannot be opened or read at start-up, in the
// window and in the receiver's log alike. They are the program's own texts.

inline constexpr char ConnectionDatabaseFailureText[] = "Connection Database failure.";
inline constexpr char ConnectionGpslogFailureText[] = "Connection Gpslog Database failure.";
inline constexpr char UsersDatabaseFailureText[] = "Users Database open failure.";
inline constexpr char GpslogDatabaseFailureText[] = "Gpslog Database open failure.";

// The fences or a tracker's speed limit could not be read or stored.
inline constexpr char AlarmSettingsFailureText[] =
    "The geofences and speed limits cannot be read from or stored in the database.";

}  // namespace kv820
