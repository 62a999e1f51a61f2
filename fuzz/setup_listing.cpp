// Any listing of stored unsent messages through the setup message count and index.

#include "core/setup/setup_listing.h"
#include "core/common/number_text.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view listing(reinterpret_cast<const char*>(data), size);
    for (int k = 1; k <= 4; ++k) {
        const std::string tag = kv820::setupMessageTag(k);
        FUZZ_CHECK(tag.size() == 3);
        const int count = kv820::CountSetupMessage(listing, k);
        FUZZ_CHECK(count >= 0 && count <= 2);
        const std::optional<int> index = kv820::SetupMessageIndex(listing, k);
        // A message is only ever counted, and an index read, in front of a tag that is there.
        if (index || count > 0) {
            FUZZ_CHECK(listing.find(tag) != std::string_view::npos);
        }
    }
    // The number reader on its own: a value short of its bounds is written in the text.
    const std::optional<std::int32_t> value = kv820::leadingInt32(listing);
    if (value && *value != 0 && *value != INT32_MAX && *value != INT32_MIN) {
        FUZZ_CHECK(listing.find(std::to_string(*value < 0 ? -*value : *value)) !=
                   std::string_view::npos);
    }
    return 0;
}
