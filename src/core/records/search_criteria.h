#pragma once

#include <string>

namespace kv820 {

// The user and range of the last record search, kept as the texts the search page shows
// ("%.4d/%.2d/%.2d" dates, "%.2d:%.2d:%.2d" times). Exports use them as their title.
struct SearchCriteria {
    std::string userName;
    std::string startDate;
    std::string startTime;
    std::string stopDate;
    std::string stopTime;
};

}  // namespace kv820
