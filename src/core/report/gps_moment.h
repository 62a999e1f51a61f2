#pragma once

#include <string>
#include <string_view>

namespace kv820 {

// The GPS date and time of a report, as stored: local "YYYY/MM/DD" and "HH:MM:SS".
struct GpsMomentText {
    std::string date;
    std::string time;
};

// The report's UTC date piece "DDMMYY" (year 2000 + YY) and time piece "hhmmss", converted
// to the computer's local time with the zone rules in force at that moment. A date and
// time that is no calendar moment (a report without a fix may carry zeros) is written
// unconverted in the same formats, for example "2000/00/00" and "00:00:00".
GpsMomentText gpsLocalMoment(std::string_view datePiece, std::string_view timePiece);

}  // namespace kv820
