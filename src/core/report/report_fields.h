#pragma once

#include <string>
#include <string_view>

namespace kv820 {

// The texts of single report fields, each from its piece of the read-message reply.

// "0" "Immediate report", "1" "Period report", "3" "Time report", "5" "SOS report";
// any other code, or a piece that does not start with a number, gives "".
std::string reportKindText(std::string_view piece);
// "1" "No Fix", "2" "2D", "3" "3D"; anything else gives "".
std::string fixText(std::string_view piece);

// "20" and the time-stamp date without its opening quote: "\"07/05/12" gives "2007/05/12".
std::string receiveDateText(std::string_view datePiece);
// The first eight characters of the time-stamp piece: "10:20:30".
std::string receiveTimeText(std::string_view timePiece);

// Signed decimal degrees with six decimals from "E12130.1234" (dddmm.mmmm) and
// "N2503.1234" (ddmm.mmmm). Only 'E' and 'N' are positive; any other first character,
// or none, gives a minus sign. Digits that are missing count as 0.
std::string longitudeText(std::string_view piece);
std::string latitudeText(std::string_view piece);

// The speed in knots converted to km/h, with four decimals: "10" gives "18.5200".
std::string speedText(std::string_view piece);

}  // namespace kv820
