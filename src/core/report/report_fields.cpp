#include "core/report/report_fields.h"

#include "core/common/number_text.h"
#include "core/common/text_from.h"
#include "core/report/report_kinds.h"

namespace kv820 {

namespace {

constexpr double KilometresPerNauticalMile = 1.852;

// dd(d)mm.mmmm: the minutes start after the degree digits, which follow the hemisphere
// letter. The numbers are read without a sign: the sign comes from the letter alone, so
// a coordinate text never carries two.
std::string coordinateText(std::string_view piece, char positiveHemisphere,
                           std::size_t degreeDigits) {
    const bool positive = !piece.empty() && piece.front() == positiveHemisphere;
    const double whole = leadingDecimal(textFrom(piece, 1), false);
    const double minutes = leadingDecimal(textFrom(piece, 1 + degreeDigits), false);
    const double degrees = (whole - minutes) * 0.01 + minutes * (1.0 / 60.0);
    std::string text(positive ? "" : "-");
    text += fixedDecimal(degrees, 6);
    return text;
}

}  // namespace

std::string reportKindText(std::string_view piece) {
    switch (leadingInt32(piece).value_or(-1)) {
        case ImmediateReportCode:
            return ImmediateReportText;
        case PeriodReportCode:
            return PeriodReportText;
        case TimeReportCode:
            return TimeReportText;
        case SosReportCode:
            return SosReportText;
        default:
            return "";
    }
}

std::string fixText(std::string_view piece) {
    switch (leadingInt32(piece).value_or(-1)) {
        case NoFixCode:
            return NoFixText;
        case Fix2dCode:
            return Fix2dText;
        case Fix3dCode:
            return Fix3dText;
        default:
            return "";
    }
}

std::string receiveDateText(std::string_view datePiece) {
    std::string text("20");
    text += textFrom(datePiece, 1);
    return text;
}

std::string receiveTimeText(std::string_view timePiece) {
    return std::string(textPrefix(timePiece, 8));
}

std::string longitudeText(std::string_view piece) {
    return coordinateText(piece, 'E', 3);
}

std::string latitudeText(std::string_view piece) {
    return coordinateText(piece, 'N', 2);
}

std::string speedText(std::string_view piece) {
    return fixedDecimal(leadingDecimal(piece) * KilometresPerNauticalMile, 4);
}

}  // namespace kv820
