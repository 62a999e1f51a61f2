#pragma once

#include <string>
#include <string_view>

#include "sim/stored_message.h"

namespace kv820::sim {

// Text-mode renderings of stored messages, shared by the modem and the tracker module.
//
// Read ("+CMGR"): a received message carries status, originating address, an empty
// phonebook name and the quoted time stamp; a stored outgoing message its status, its
// destination address and an empty name. The header is followed by CR LF, the body and CR LF.
std::string readResponse(const StoredMessage& message);

// One listing entry: `prefix` ("+CMGL" or "^SMGL") ": " index "," status "," address ","
// name "," time stamp, then CR LF, the body and CR LF.
std::string listingEntry(std::string_view prefix, const StoredMessage& message);

// Final result codes and the framing every reply uses (verbose result codes).
inline std::string okResult() {
    return "\r\nOK\r\n";
}
inline std::string errorResult() {
    return "\r\nERROR\r\n";
}
inline std::string informationLine(std::string_view text) {
    return "\r\n" + std::string(text) + "\r\n";
}
std::string cmsError(int code);
std::string cmeError(int code);

}  // namespace kv820::sim
