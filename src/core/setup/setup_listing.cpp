#include "core/setup/setup_listing.h"

#include <cctype>
#include <charconv>

namespace kv820 {

namespace {

constexpr std::string_view EntryHeader{"^SMGL:"};
// The listing's first two characters are the line break before the first entry; a tag
// there could not belong to an entry.
constexpr std::size_t TagSearchStart = 2;

}  // namespace

std::string SetupMessageTag(int k) {
    return std::string{'+', static_cast<char>('0' + k), '"'};
}

int CountSetupMessage(std::string_view listing, int k) {
    if (listing.size() <= TagSearchStart) {
        return 0;
    }
    const std::string tag = SetupMessageTag(k);
    const std::size_t first = listing.find(tag, TagSearchStart);
    if (first == std::string_view::npos) {
        return 0;
    }
    return listing.find(tag, first + 1) == std::string_view::npos ? 1 : 2;
}

std::optional<int> SetupMessageIndex(std::string_view listing, int k) {
    const std::size_t tag = listing.find(SetupMessageTag(k));
    if (tag == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t header = listing.rfind(EntryHeader, tag);
    if (header == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t indexStart = header + EntryHeader.size();
    const std::size_t comma = listing.find(',', indexStart);
    if (comma == std::string_view::npos) {
        return std::nullopt;
    }
    return ReadLeadingInt(listing.substr(indexStart, comma - indexStart));
}

std::optional<int> ReadLeadingInt(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos]))) {
        ++pos;
    }
    // from_chars reads a '-' itself (so the most negative int reads whole) but no '+'.
    // Either sign is taken once and must be followed by a digit, as "%d" wants.
    const bool plus = pos < text.size() && text[pos] == '+';
    if (plus) {
        ++pos;
    }
    const bool minus = !plus && pos < text.size() && text[pos] == '-';
    const std::size_t digits = minus ? pos + 1 : pos;
    if (digits >= text.size() || !std::isdigit(static_cast<unsigned char>(text[digits]))) {
        return std::nullopt;
    }
    int value = 0;
    const char* last = text.data() + text.size();
    if (std::from_chars(text.data() + pos, last, value).ec != std::errc{}) {
        return std::nullopt;
    }
    return value;
}

}  // namespace kv820
