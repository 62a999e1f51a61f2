// Any moments picked on the record search page through the range texts and the range.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/records/receive_range_builder.h"
#include "fuzz_check.h"

namespace {

kv820::PickedMoment Moment(FuzzedDataProvider& provider) {
    kv820::PickedMoment moment;
    for (int* field :
         {&moment.year, &moment.month, &moment.day, &moment.hour, &moment.minute, &moment.second}) {
        *field = provider.ConsumeIntegral<int>();
    }
    return moment;
}

bool InPickerRange(const kv820::PickedMoment& m) {
    return m.year >= 0 && m.year <= 9999 && m.month >= 1 && m.month <= 12 && m.day >= 1 &&
           m.day <= 31 && m.hour >= 0 && m.hour <= 23 && m.minute >= 0 && m.minute <= 59 &&
           m.second >= 0 && m.second <= 59;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const kv820::PickedMoment start = Moment(provider);
    const kv820::PickedMoment stop = Moment(provider);
    const kv820::RangeTexts texts = kv820::SearchRangeTexts(start, stop);
    for (const std::string* text :
         {&texts.startDate, &texts.startTime, &texts.stopDate, &texts.stopTime}) {
        FUZZ_CHECK(!text->empty() && text->size() < 80);
    }
    // Moments a date and a time picker can show have the fixed text shapes the range
    // compares as text.
    if (InPickerRange(start)) {
        FUZZ_CHECK(texts.startDate.size() == 10 && texts.startTime.size() == 8);
    }
    if (InPickerRange(stop)) {
        FUZZ_CHECK(texts.stopDate.size() == 10 && texts.stopTime.size() == 8);
    }
    const kv820::ReceiveRange range = kv820::SearchReceiveRange("356789012345678", texts);
    FUZZ_CHECK(range.from == texts.startDate + texts.startTime);
    FUZZ_CHECK(range.to == texts.stopDate + texts.stopTime);
    return 0;
}
