#pragma once

#include <ctime>
#include <string>

#include "core/common/number_text.h"
#include "core/store/gpslog_store.h"

namespace kv820 {

// Whose reports a record search lists and from when to when, as the operator picked it
// (or as the clock gives it). The texts the search shows and the exports title themselves
// with, and the receive moments the database compares against, are derived from it.
struct SearchCriteria {
    using Moment = DateTimeFields;

    std::string userName;
    Moment start;
    Moment stop;

    // "user:start date-start time~stop date-stop time", the title of an exported track.
    std::string title() const;
    // One tracker's reports received from start to stop, both included: date and time are
    // joined with nothing between them. A start after the stop is an empty range.
    ReceiveRange receiveRange(std::string imei) const;

    // The history shown after each received report: the two years around a local moment.
    // The day is not adjusted: on 29 February the bounds read 29 February of the other
    // years, which serves as a text bound all the same.
    static SearchCriteria yearsAround(const std::tm& localNow);
};

// The current local time, for SearchCriteria::yearsAround.
std::tm localNow();

}  // namespace kv820
