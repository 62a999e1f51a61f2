// Any modem line through the "+CMTI" recognition and its storage index.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/common/number_text.h"
#include "core/modem/new_sms_index.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const bool announcement = kv820::IsNewSmsAnnouncement(line);
    const std::string index = kv820::NewSmsIndex(line);

    // The index goes into "at+cmgr=" and "at+cmgd=": a plain decimal number, nothing else.
    FUZZ_CHECK(!index.empty() && index.size() <= 11);
    const std::string_view digits =
        index.front() == '-' ? std::string_view(index).substr(1) : std::string_view(index);
    FUZZ_CHECK(!digits.empty());
    for (char c : digits) {
        FUZZ_CHECK(c >= '0' && c <= '9');
    }
    FUZZ_CHECK(kv820::LeadingInt32(index).has_value());
    if (!announcement) {
        FUZZ_CHECK(index == "0");
    }
    return 0;
}
