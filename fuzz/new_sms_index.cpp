// Any modem line through the "+CMTI" recognition and its storage index.

#include "core/at/new_sms_index.h"
#include "core/common/number_text.h"
#include "fuzz_check.h"

#include <cctype>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const std::string index = kv820::NewSmsIndex(line);

    // The index goes into "at+cmgr=" and "at+cmgd=": a plain decimal number, nothing else.
    FUZZ_CHECK(!index.empty() && index.size() <= 11);
    const std::string_view digits =
        index.front() == '-' ? std::string_view(index).substr(1) : std::string_view(index);
    FUZZ_CHECK(!digits.empty() && digits.find_first_not_of("0123456789") == std::string::npos);
    FUZZ_CHECK(kv820::LeadingInt32(index).has_value());
    FUZZ_CHECK(kv820::IsNewSmsAnnouncement(line) || index == "0");

    // The store goes into "at+cpms=\"..\"": two capital letters or nothing.
    const std::string store = kv820::NewSmsStore(line);
    FUZZ_CHECK(store.empty() ||
               (store.size() == 2 && std::isupper(static_cast<unsigned char>(store[0])) &&
                std::isupper(static_cast<unsigned char>(store[1]))));
    return 0;
}
