// Any listing of stored unsent messages through the setup message count and index.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/common/number_text.h"
#include "core/setup/setup_listing.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view listing(reinterpret_cast<const char*>(data), size);
    for (int k = 1; k <= 4; ++k) {
        const std::string tag = kv820::SetupMessageTag(k);
        FUZZ_CHECK(tag.size() == 3);
        const int count = kv820::CountSetupMessage(listing, k);
        FUZZ_CHECK(count >= 0 && count <= 2);
        const std::optional<int> index = kv820::SetupMessageIndex(listing, k);
        // An index is only ever read in front of a tag that is there.
        if (index) {
            FUZZ_CHECK(listing.find(tag) != std::string_view::npos);
        }
        if (count > 0) {
            FUZZ_CHECK(listing.find(tag) != std::string_view::npos);
        }
    }
    // The number reader on its own, over the whole text.
    const std::optional<std::int32_t> value = kv820::LeadingInt32(listing);
    if (value && *value != INT32_MAX &&
        *value != INT32_MIN) {  // saturated values are not in the text
        const std::string digits = std::to_string(*value);
        FUZZ_CHECK(listing.find(*value < 0 ? std::string_view(digits).substr(1)
                                           : std::string_view(digits)) != std::string_view::npos ||
                   *value == 0);
    }
    return 0;
}
