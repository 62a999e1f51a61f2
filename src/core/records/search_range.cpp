#include "core/records/search_range.h"

#include <cstdio>

namespace kv820 {

namespace {

// Three numbers in a zero-padded form; each is printed in full, so an odd value (a year
// past 9999) widens the text rather than being cut.
std::string Joined(const char* format, int a, int b, int c) {
    char text[48];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

}  // namespace

void StoreSearchRange(SearchCriteria& criteria, const PickerMoment& start,
                      const PickerMoment& stop) {
    criteria.startDate = Joined("%.4d/%.2d/%.2d", start.year, start.month, start.day);
    criteria.startTime = Joined("%.2d:%.2d:%.2d", start.hour, start.minute, start.second);
    criteria.stopDate = Joined("%.4d/%.2d/%.2d", stop.year, stop.month, stop.day);
    criteria.stopTime = Joined("%.2d:%.2d:%.2d", stop.hour, stop.minute, stop.second);
}

ReceiveRange SearchCriteriaRange(const SearchCriteria& criteria, std::string imei) {
    return {std::move(imei), criteria.startDate + criteria.startTime,
            criteria.stopDate + criteria.stopTime};
}

}  // namespace kv820
