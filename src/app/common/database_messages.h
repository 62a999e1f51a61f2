#pragma once

namespace kv820 {

// What the operator reads when the database cannot be opened or read at start-up, in the
// window and in the receiver's log alike. They are the program's own texts.

inline constexpr char ConnectionDatabaseFailureText[] = "Connection Database failure.";
inline constexpr char ConnectionGpslogFailureText[] = "Connection Gpslog Database failure.";
inline constexpr char UsersDatabaseFailureText[] = "Users Database open failure.";
inline constexpr char GpslogDatabaseFailureText[] = "Gpslog Database open failure.";

}  // namespace kv820
