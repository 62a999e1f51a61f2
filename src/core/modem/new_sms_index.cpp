#include "core/modem/new_sms_index.h"

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

}  // namespace kv820
