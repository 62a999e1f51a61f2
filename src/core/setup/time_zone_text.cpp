#include "core/setup/time_zone_text.h"

#include "core/common/number_text.h"

namespace kv820 {

std::string timeZoneText(long utcOffsetSeconds) {
    // The tracker expects whole minutes turned into hours by a multiplication with 1/60,
    // then written with two decimals ("+5.50" for UTC+5:30).
    const long minutesEast = utcOffsetSeconds / 60;
    if (minutesEast == 0) {
        return "+0.00";
    }
    const char sign = minutesEast > 0 ? '+' : '-';
    const long magnitude = minutesEast > 0 ? minutesEast : -minutesEast;
    return sign + fixedDecimal(static_cast<double>(magnitude) * (1.0 / 60), 2);
}

}  // namespace kv820
