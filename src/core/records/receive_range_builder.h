#pragma once

#include <ctime>
#include <string>

#include "core/store/gpslog_store.h"

namespace kv820 {

// A date and time as the operator picked it (or as the clock gives it).
struct PickedMoment {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The four texts of a record search: "YYYY/MM/DD" and "HH:MM:SS" of start and stop. They
// are kept as the last search's criteria (the KML title reads them).
struct RangeTexts {
    std::string startDate;
    std::string startTime;
    std::string stopDate;
    std::string stopTime;
};

RangeTexts SearchRangeTexts(const PickedMoment& start, const PickedMoment& stop);

// One tracker's reports received from start to stop, both included. A start after the
// stop gives an empty result, not an error.
ReceiveRange SearchReceiveRange(std::string imei, const RangeTexts& texts);

// The history shown after each received report: the tracker's reports of the two years
// around now (local time). The day is not adjusted: on 29 February the bounds read
// 29 February of the other years, which serves as a text bound all the same.
ReceiveRange RecentReportsRange(std::string imei, const std::tm& localNow);

// The current local time, for RecentReportsRange.
std::tm LocalNow();

}  // namespace kv820
