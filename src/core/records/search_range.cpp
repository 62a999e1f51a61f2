#include "core/records/search_range.h"

namespace kv820 {

void StoreSearchRange(SearchCriteria& criteria, const PickedMoment& start,
                      const PickedMoment& stop) {
    RangeTexts texts = SearchRangeTexts(start, stop);
    criteria.startDate = std::move(texts.startDate);
    criteria.startTime = std::move(texts.startTime);
    criteria.stopDate = std::move(texts.stopDate);
    criteria.stopTime = std::move(texts.stopTime);
}

ReceiveRange SearchCriteriaRange(const SearchCriteria& criteria, std::string imei) {
    return SearchReceiveRange(std::move(imei), {criteria.startDate, criteria.startTime,
                                                criteria.stopDate, criteria.stopTime});
}

}  // namespace kv820
