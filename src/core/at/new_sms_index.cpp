#include "core/at/new_sms_index.h"

#include <algorithm>

#include "core/common/number_text.h"
#include "core/common/text_from.h"

namespace kv820 {

namespace {
constexpr std::string_view Announcement = "+CMTI";
constexpr std::size_t IndexOffset = 12;  // "+CMTI: \"SM\"," is twelve characters
}  // namespace

bool IsNewSmsAnnouncement(std::string_view line) {
    return line.find(Announcement) != std::string_view::npos;
}

std::string NewSmsIndex(std::string_view line) {
    // Counting from "+CMTI" rather than from the line start keeps the index right when a
    // stray byte (a lone CR left by a cut line) precedes the announcement.
    const std::size_t start = line.find(Announcement);
    const std::string_view from =
        start == std::string_view::npos ? std::string_view() : TextFrom(line, start + IndexOffset);
    return std::to_string(LeadingInt32(from).value_or(0));
}

std::string NewSmsStore(std::string_view line) {
    const std::size_t start = line.find(Announcement);
    const std::string_view from =
        start == std::string_view::npos ? std::string_view() : TextFrom(line, start);
    const std::size_t open = from.find('"');
    const std::size_t close = open == std::string_view::npos ? open : from.find('"', open + 1);
    const std::string_view name = close == std::string_view::npos
                                      ? std::string_view()
                                      : from.substr(open + 1, close - open - 1);
    // The name goes into "at+cpms=": a store is two capital letters, and anything else (a
    // line garbled on the wire) leaves the read in the store in use.
    const bool storeName = name.size() == 2 && std::all_of(name.begin(), name.end(), [](char c) {
                               return c >= 'A' && c <= 'Z';
                           });
    return storeName ? std::string(name) : std::string();
}

}  // namespace kv820
