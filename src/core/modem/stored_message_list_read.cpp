#include "core/modem/stored_message_list_read.h"

namespace kv820 {

StoredMessageListRead ListStoredMessages(ComPort& port, const std::function<bool()>& abandon) {
    StoredMessageListRead result;
    port.SendAtCommand("at+cmgl=\"ALL\"");
    Clock& clock = port.clock();
    const auto start = clock.now();
    auto lastByte = start;
    while (StoredMessageListingEnd(result.reply) == std::string::npos) {
        if (port.gone() || (abandon && abandon())) {
            break;
        }
        const auto now = clock.now();
        if (now - lastByte >= StoredListIdleLimit || now - start >= StoredListTimeLimit) {
            break;
        }
        // A read ends early at anything that looks like a final result, a message body
        // reading "OK" among them; the listing's own end decides, so reads are appended.
        const std::string chunk = port.ReadModemReply(StoredListReadSize);
        if (!chunk.empty()) {
            result.reply += chunk;
            lastByte = clock.now();
        }
    }
    result.listing = ParseStoredMessageListing(result.reply);
    return result;
}

}  // namespace kv820
