#include "core/setup/setup_listing.h"

#include <cstdint>
#include <limits>

#include "core/common/number_text.h"

namespace kv820 {

namespace {

constexpr std::string_view EntryHeader{"^SMGL:"};
// The listing's first two characters are the line break before the first entry; a tag
// there could not belong to an entry.
constexpr std::size_t TagSearchStart = 2;

}  // namespace

std::string setupMessageTag(int k) {
    return std::string{'+', static_cast<char>('0' + k), '"'};
}

int CountSetupMessage(std::string_view listing, int k) {
    if (listing.size() <= TagSearchStart) {
        return 0;
    }
    const std::string tag = setupMessageTag(k);
    const std::size_t first = listing.find(tag, TagSearchStart);
    if (first == std::string_view::npos) {
        return 0;
    }
    return listing.find(tag, first + 1) == std::string_view::npos ? 1 : 2;
}

std::optional<int> SetupMessageIndex(std::string_view listing, int k) {
    const std::size_t tag = listing.find(setupMessageTag(k));
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
    // A negative or saturated index names no entry; it is never used to delete one.
    const std::optional<std::int32_t> index =
        leadingInt32(listing.substr(indexStart, comma - indexStart));
    if (!index || *index < 0 || *index == std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return *index;
}

}  // namespace kv820
