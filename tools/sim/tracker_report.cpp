#include "sim/tracker_report.h"

#include "core/common/local_time.h"
#include "core/common/number_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace kv820::sim {
namespace {

// Degrees and minutes rounded to the tracker's four decimals of a minute, with the carry
// into the degrees when the minutes round up to 60.
std::string hemisphereField(double degrees, char positive, char negative, int degreeDigits) {
    const char hemisphere = degrees < 0 ? negative : positive;
    const double magnitude = std::fabs(degrees);
    long whole = static_cast<long>(std::floor(magnitude));
    long tenThousandths = std::lround((magnitude - static_cast<double>(whole)) * 60.0 * 10000.0);
    if (tenThousandths >= 600000) {
        ++whole;
        tenThousandths -= 600000;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%c%0*ld%02ld.%04ld", hemisphere, degreeDigits, whole,
                  tenThousandths / 10000, tenThousandths % 10000);
    return text;
}

std::string utcField(std::time_t utc, const char* format) {
    const std::tm parts = utcTimeAt(utc).value_or(std::tm{});
    char text[16];
    std::strftime(text, sizeof text, format, &parts);
    return text;
}

}  // namespace

TrackerReport TrackerReport::at(std::string imei, double longitudeDegrees, double latitudeDegrees,
                                std::time_t utc) {
    TrackerReport report;
    report.imei = std::move(imei);
    report.gpsDate = gpsDateField(utc);
    report.gpsTime = gpsTimeField(utc);
    report.longitude = longitudeField(longitudeDegrees);
    report.latitude = latitudeField(latitudeDegrees);
    return report;
}

std::string formatReportBody(const TrackerReport& r) {
    std::string body = "?" + r.imei;
    for (const std::string* field :
         {&r.kind, &r.fix, &r.gpsDate, &r.gpsTime, &r.longitude, &r.latitude, &r.altitude,
          &r.speedKnots, &r.course, &r.satellites, &r.last}) {
        body += ',';
        body += *field;
    }
    return body + "!";
}

std::string longitudeField(double degrees) {
    return hemisphereField(degrees, 'E', 'W', 3);
}

std::string latitudeField(double degrees) {
    return hemisphereField(degrees, 'N', 'S', 2);
}

double coordinateFieldDegrees(std::string_view field) {
    if (field.size() < 2) {
        return 0.0;
    }
    const char hemisphere = field[0];
    const bool longitude = hemisphere == 'E' || hemisphere == 'W';
    if (!longitude && hemisphere != 'N' && hemisphere != 'S') {
        return 0.0;
    }
    const std::string digits(field.substr(1));
    const std::size_t degreeDigits = longitude ? 3 : 2;
    if (digits.size() < degreeDigits) {
        return 0.0;
    }
    const std::string_view number(digits);
    const double whole = leadingDecimal(number.substr(0, degreeDigits), false);
    const double minutes = leadingDecimal(number.substr(degreeDigits), false);
    const double value = whole + minutes / 60.0;
    return (hemisphere == 'W' || hemisphere == 'S') ? -value : value;
}

std::string gpsDateField(std::time_t utc) {
    return utcField(utc, "%d%m%y");
}

std::string gpsTimeField(std::time_t utc) {
    return utcField(utc, "%H%M%S");
}

}  // namespace kv820::sim
