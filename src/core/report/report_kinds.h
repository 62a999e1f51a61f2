#pragma once

namespace kv820 {

// The kinds of report a tracker sends and the fixes it reports: the number it writes in
// the SMS and the text stored for it in the message_status and gps_status columns.
// Lists, alarms and exports compare the stored texts, so every reader takes them from here.

inline constexpr int ImmediateReportCode = 0;
inline constexpr int PeriodReportCode = 1;
inline constexpr int TimeReportCode = 3;
inline constexpr int SosReportCode = 5;

inline constexpr char ImmediateReportText[] = "Immediate report";
inline constexpr char PeriodReportText[] = "Period report";
inline constexpr char TimeReportText[] = "Time report";
inline constexpr char SosReportText[] = "SOS report";

inline constexpr int NoFixCode = 1;
inline constexpr int Fix2dCode = 2;
inline constexpr int Fix3dCode = 3;

inline constexpr char NoFixText[] = "No Fix";
inline constexpr char Fix2dText[] = "2D";
inline constexpr char Fix3dText[] = "3D";

}  // namespace kv820
