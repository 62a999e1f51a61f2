#pragma once

#include <string>

#include "core/modem/com_port.h"
#include "core/modem/stored_message_listing.h"

namespace kv820 {

// A listing as read from the modem: the reply text and what it holds.
struct StoredMessageListRead {
    std::string reply;
    StoredMessageListing listing;
};

// Asks the modem for every message it holds ("at+cmgl=\"ALL\"" + CR, text mode) and reads
// the listing to its own final result line, within the listing's time-out: a full SIM
// can take seconds before it answers.
StoredMessageListRead ListStoredMessages(ComPort& port);

}  // namespace kv820
