#include "core/reception/stored_message_listing.h"

#include "core/at/com_port.h"

#include <algorithm>
#include <map>
#include <optional>

#include "core/at/modem_reply.h"
#include "core/common/number_text.h"
#include "core/sms/pdu_read_reply.h"

namespace kv820 {

namespace {

constexpr std::string_view HeaderMark = "+CMGL:";

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<StoredMessageEntry> parseHeader(std::string_view line) {
    if (!line.starts_with(HeaderMark)) {
        return std::nullopt;
    }
    std::string_view rest = trimBlanks(line.substr(HeaderMark.size()));
    const std::size_t comma = rest.find(',');
    if (comma == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view indexText = trimBlanks(rest.substr(0, comma));
    constexpr std::size_t MaxIndexDigits = 9;  // a longer number is no storage index
    if (indexText.empty() || indexText.size() > MaxIndexDigits ||
        !std::all_of(indexText.begin(), indexText.end(),
                     [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    const std::optional<int> index = leadingInt32(indexText);
    if (!index) {
        return std::nullopt;
    }
    std::string_view status = trimBlanks(rest.substr(comma + 1));
    if (status.starts_with('"')) {
        status.remove_prefix(1);
        status = status.substr(0, status.find('"'));
    } else {
        status = trimBlanks(status.substr(0, status.find(',')));
    }
    return StoredMessageEntry{*index, std::string(status)};
}

}  // namespace

bool StoredMessageEntry::received() const {
    const std::string text = messageStatusText(status);
    return text == "REC UNREAD" || text == "REC READ";
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

bool StoredMessageListing::lists(int index) const {
    return std::any_of(entries.begin(), entries.end(),
                       [index](const StoredMessageEntry& entry) { return entry.index == index; });
}

StoredMessageListing parseStoredMessageListing(std::string_view reply) {
    // Framed as the exchange frames it: the listing ends at its own final result line.
    ReplyAssembler framer{std::string(HeaderMark.substr(0, HeaderMark.size() - 1))};
    framer.add(reply);
    StoredMessageListing listing;
    listing.complete = framer.reply().complete();
    listing.refused = framer.reply().refused();
    for (const ModemLine& line : modemLines(framer.reply().text)) {
        // A text that imitates a header is counted as one: receivedIndexes() then leaves the
        // index it names alone.
        if (std::optional<StoredMessageEntry> entry = parseHeader(line.text)) {
            listing.entries.push_back(std::move(*entry));
        }
    }
    return listing;
}

StoredMessageListRead listStoredMessages(ComPort& port, MessageMode mode) {
    StoredMessageListRead result;
    const std::string_view command = mode == MessageMode::Pdu ? "at+cmgl=4" : "at+cmgl=\"ALL\"";
    result.reply = port.exchange(command, reply_timeout::Listing).text;
    result.listing = parseStoredMessageListing(result.reply);
    return result;
}

}  // namespace kv820
