#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

#include "core/modem/com_port.h"
#include "core/modem/stored_message_listing.h"

namespace kv820 {

// A listing as read from the modem: the reply text and what it holds.
struct StoredMessageListRead {
    std::string reply;
    StoredMessageListing listing;
};

inline constexpr std::size_t StoredListReadSize = 512;
inline constexpr std::chrono::milliseconds StoredListIdleLimit{5000};
inline constexpr std::chrono::milliseconds StoredListTimeLimit{30000};

// Asks the modem for every message it holds ("at+cmgl=\"ALL\"" + CR, text mode) and reads
// the listing, appending read after read, until its final result line. A listing can be
// far longer than one read, so reading ends only there, when no byte came for
// StoredListIdleLimit, after StoredListTimeLimit in all, when the port is gone, or when
// `abandon` turns true.
StoredMessageListRead ListStoredMessages(ComPort& port, const std::function<bool()>& abandon = {});

}  // namespace kv820
