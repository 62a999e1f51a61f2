// Any moments picked on the record search page through their texts and the receive range.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/records/search_criteria.h"
#include "fuzz_check.h"

namespace {

kv820::SearchCriteria::Moment Moment(FuzzedDataProvider& provider) {
    kv820::SearchCriteria::Moment moment;
    for (int* field :
         {&moment.year, &moment.month, &moment.day, &moment.hour, &moment.minute, &moment.second}) {
        *field = provider.ConsumeIntegral<int>();
    }
    return moment;
}

bool InPickerRange(const kv820::SearchCriteria::Moment& m) {
    return m.year >= 0 && m.year <= 9999 && m.month >= 1 && m.month <= 12 && m.day >= 1 &&
           m.day <= 31 && m.hour >= 0 && m.hour <= 23 && m.minute >= 0 && m.minute <= 59 &&
           m.second >= 0 && m.second <= 59;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const kv820::SearchCriteria::Moment start = Moment(provider);
    const kv820::SearchCriteria::Moment stop = Moment(provider);
    for (const kv820::SearchCriteria::Moment& moment : {start, stop}) {
        const std::string date = moment.date();
        const std::string time = moment.time();
        FUZZ_CHECK(!date.empty() && date.size() < 80 && !time.empty() && time.size() < 80);
        // Moments a date and a time picker can show have the fixed text shapes the range
        // compares as text.
        if (InPickerRange(moment)) {
            FUZZ_CHECK(date.size() == 10 && time.size() == 8);
        }
    }
    const kv820::ReceiveRange range = kv820::SearchCriteria{{}, start, stop}.receiveRange("1");
    FUZZ_CHECK(range.from == start.date() + start.time());
    FUZZ_CHECK(range.to == stop.date() + stop.time());
    return 0;
}
