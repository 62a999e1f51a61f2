#include "core/modem/stored_message_listing.h"

#include <algorithm>
#include <map>
#include <optional>

#include "core/common/number_text.h"
#include "core/modem/com_port.h"

namespace kv820 {

namespace {

constexpr std::string_view HeaderMark = "+CMGL:";

// One whole line of the text (its LF seen), without its line end. An echoed command ends
// with CR only, so what follows its last CR is the line proper.
struct ListingLine {
    std::string_view text;
    std::size_t end;  // offset just past the LF
};

std::vector<ListingLine> WholeLines(std::string_view text) {
    std::vector<ListingLine> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t lf = text.find('\n', start);
        if (lf == std::string_view::npos) {
            break;
        }
        std::string_view line = text.substr(start, lf - start);
        while (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        const std::size_t cr = line.rfind('\r');
        if (cr != std::string_view::npos) {
            line = line.substr(cr + 1);
        }
        lines.push_back({line, lf + 1});
        start = lf + 1;
    }
    return lines;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<StoredMessageEntry> ParseHeader(std::string_view line) {
    if (!line.starts_with(HeaderMark)) {
        return std::nullopt;
    }
    std::string_view rest = TrimBlanks(line.substr(HeaderMark.size()));
    const std::size_t comma = rest.find(',');
    if (comma == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view indexText = TrimBlanks(rest.substr(0, comma));
    constexpr std::size_t MaxIndexDigits = 9;  // a longer number is no storage index
    if (indexText.empty() || indexText.size() > MaxIndexDigits ||
        !std::all_of(indexText.begin(), indexText.end(),
                     [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    const std::optional<int> index = LeadingInt32(indexText);
    if (!index) {
        return std::nullopt;
    }
    std::string_view status = TrimBlanks(rest.substr(comma + 1));
    if (status.starts_with('"')) {
        status.remove_prefix(1);
        status = status.substr(0, status.find('"'));
    } else {
        status = TrimBlanks(status.substr(0, status.find(',')));
    }
    return StoredMessageEntry{*index, std::string(status)};
}

// Walks the whole lines of a listing, collecting its entries, up to its final result
// line. Returns the length up to and including that line; npos when there is none yet.
std::size_t WalkListing(std::string_view text, StoredMessageListing& listing) {
    bool bodyLineNext = false;
    for (const ListingLine& line : WholeLines(text)) {
        if (std::optional<StoredMessageEntry> entry = ParseHeader(line.text)) {
            listing.entries.push_back(std::move(*entry));
            bodyLineNext = true;
            continue;
        }
        if (!bodyLineNext && IsFinalResultLine(line.text)) {
            listing.complete = true;
            listing.refused = line.text != "OK";
            return line.end;
        }
        bodyLineNext = false;
    }
    return std::string_view::npos;
}

}  // namespace

bool StoredMessageEntry::received() const {
    return status == "REC UNREAD" || status == "REC READ";
}

std::vector<int> StoredMessageListing::receivedIndexes() const {
    std::map<int, int> namings;
    for (const StoredMessageEntry& entry : entries) {
        ++namings[entry.index];
    }
    std::vector<int> indexes;
    for (const StoredMessageEntry& entry : entries) {
        if (entry.received() && namings[entry.index] == 1) {
            indexes.push_back(entry.index);
        }
    }
    std::sort(indexes.begin(), indexes.end());
    return indexes;
}

StoredMessageListing ParseStoredMessageListing(std::string_view reply) {
    StoredMessageListing listing;
    WalkListing(reply, listing);
    return listing;
}

std::size_t StoredMessageListingEnd(std::string_view text) {
    StoredMessageListing ignored;
    return WalkListing(text, ignored);
}

}  // namespace kv820
