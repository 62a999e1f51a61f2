#include "core/modem/stored_message_list_read.h"

namespace kv820 {

StoredMessageListRead ListStoredMessages(ComPort& port) {
    StoredMessageListRead result;
    result.reply = port.Exchange("at+cmgl=\"ALL\"", reply_timeout::Listing).text;
    result.listing = ParseStoredMessageListing(result.reply);
    return result;
}

}  // namespace kv820
