#pragma once

namespace kv820 {

// What the operator reads when stored reports cannot be searched, listed or exported: the
// search, the export and the map's track show the same text when the reports cannot be
// read. They are the program's own texts, spelling included.

inline constexpr char InquireGpslogFailureText[] = "Inquire Gpslog Database failure.";
// The tracking page's history of the reporting tracker cannot be read.
inline constexpr char TrackGpslogFailureText[] = "Track Gpslog Database open failure.";

// The export's outcomes.
inline constexpr char NoDataText[] = "No data.";
inline constexpr char NoEffectiveDataText[] = "No effective data.";
inline constexpr char NoFileExistenceText[] = "No file existence.";
inline constexpr char ExportWriteFailureText[] = "Export file write failure.";

}  // namespace kv820
