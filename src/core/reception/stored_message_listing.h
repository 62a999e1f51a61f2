#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/sms/message_mode.h"

namespace kv820 {

// One message named by a "+CMGL: <index>,\"<status>\",..." header of a listing.
struct StoredMessageEntry {
    int index = 0;
    // "REC UNREAD", "REC READ", "STO UNSENT", "STO SENT"; in PDU mode "0" to "3".
    std::string status;

    // A message the modem received (a report may be waiting in it); stored outgoing
    // messages are the operator's own and are never touched.
    bool received() const;
    bool operator==(const StoredMessageEntry&) const = default;
};

// What a text-mode message listing ("at+cmgl=\"ALL\"") holds.
struct StoredMessageListing {
    // The listing reached its final result line; without it, the entries are those whose
    // header lines arrived whole.
    bool complete = false;
    // The final result was a refusal ("ERROR", "+CMS ERROR: n", "+CME ERROR: n").
    bool refused = false;
    std::vector<StoredMessageEntry> entries;  // in listing order

    // The indexes of the received messages, in index order. An index named twice (a
    // message body that imitates a header) is left out: which status is true cannot be
    // told, and handling a stored unsent message as received would delete it.
    std::vector<int> receivedIndexes() const;
    // True when an entry names the index.
    bool lists(int index) const;
};

// The listing in a reply: its entries, and whether it reached its final result line.
StoredMessageListing parseStoredMessageListing(std::string_view reply);

class ComPort;

// A listing as read from the modem: the reply text and what it holds.
struct StoredMessageListRead {
    std::string reply;
    StoredMessageListing listing;
};

// Asks the modem for every message of the selected store ("at+cmgl=\"ALL\"" + CR in text
// mode, "at+cmgl=4" in PDU mode) and reads the listing to its own final result line, within
// the listing's time-out: a full SIM can take seconds before it answers.
StoredMessageListRead listStoredMessages(ComPort& port, MessageMode mode);

}  // namespace kv820
