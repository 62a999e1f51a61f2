#pragma once

#include <string>

namespace kv820::sim {

// The service-centre time stamp a modem attaches to a received SMS. The zone is in
// quarter hours east of UTC, as the network sends it.
struct SmsTimestamp {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int zoneQuarterHours = 0;

    // "yy/MM/dd,hh:mm:ss+zz", the text-mode form (without the surrounding quotes).
    std::string toText() const;

    static SmsTimestamp nowUtc();
};

}  // namespace kv820::sim
