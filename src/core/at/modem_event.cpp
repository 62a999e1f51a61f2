#include "core/at/modem_event.h"

#include <algorithm>
#include <array>

#include "core/common/number_text.h"
#include "core/common/text_from.h"

namespace kv820 {

namespace {

constexpr std::string_view Announcement = "+CMTI";
constexpr std::size_t IndexOffset = 12;  // "+CMTI: \"SM\"," is twelve characters

// Codes a modem sends on its own besides "+CMTI": calls, network registration, indicators,
// start-up, and the announcements of status reports and broadcasts.
constexpr std::array<std::string_view, 11> UnsolicitedPrefixes = {
    "RING",   "+CRING:", "+CLIP:", "+CREG:", "+CGREG:",   "+CDSI:",
    "+CBMI:", "+CIEV:",  "+CUSD:", "^SBC:",  "^SYSSTART",
};

std::size_t announcementAt(std::string_view line) {
    return line.find(Announcement);
}

std::string storeNamed(std::string_view from) {
    const std::size_t open = from.find('"');
    const std::size_t close = open == std::string_view::npos ? open : from.find('"', open + 1);
    const std::string_view name = close == std::string_view::npos
                                      ? std::string_view()
                                      : from.substr(open + 1, close - open - 1);
    const bool storeName = name.size() == 2 && std::all_of(name.begin(), name.end(), [](char c) {
                               return c >= 'A' && c <= 'Z';
                           });
    return storeName ? std::string(name) : std::string();
}

}  // namespace

std::optional<MessagePlace> newSmsAnnouncementPlace(std::string_view line) {
    // Counting from "+CMTI" rather than from the line start keeps the index right when a
    // stray byte precedes the announcement.
    const std::size_t start = announcementAt(line);
    if (start == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view from = line.substr(start);
    return MessagePlace{storeNamed(from), leadingInt32(textFrom(from, IndexOffset)).value_or(0)};
}

bool isUnsolicitedLine(std::string_view line, std::string_view ownPrefix) {
    if (!ownPrefix.empty() && line.starts_with(ownPrefix)) {
        return false;
    }
    if (announcementAt(line) != std::string_view::npos) {
        return true;
    }
    return std::any_of(UnsolicitedPrefixes.begin(), UnsolicitedPrefixes.end(),
                       [line](std::string_view prefix) { return line.starts_with(prefix); });
}

std::size_t openAnnouncementStart(std::string_view open) {
    const std::size_t mark = open.find(Announcement.front());
    if (mark == std::string_view::npos) {
        return mark;
    }
    const std::string_view tail = open.substr(mark);
    const bool mayBe = tail.starts_with(Announcement) || Announcement.starts_with(tail);
    return mayBe ? mark : std::string_view::npos;
}

}  // namespace kv820
