#pragma once

#include <string>

#include "core/records/receive_range_builder.h"
#include "core/records/search_criteria.h"
#include "core/store/gpslog_store.h"

namespace kv820 {

// Stores the start and stop texts of a search ("%.4d/%.2d/%.2d", "%.2d:%.2d:%.2d") in the
// criteria; the user name is left as it was.
void StoreSearchRange(SearchCriteria& criteria, const PickedMoment& start,
                      const PickedMoment& stop);

// The receive range the criteria describe for one tracker: date and time joined with
// nothing between them, both ends included. A start after the stop is an empty range.
ReceiveRange SearchCriteriaRange(const SearchCriteria& criteria, std::string imei);

}  // namespace kv820
