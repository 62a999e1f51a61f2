#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/at/modem_reply.h"
#include "core/sms/sms_pdu.h"

namespace kv820 {

// A PDU-mode read ("+CMGR: <stat>,[<alpha>],<length>" and the PDU on the next line).
struct PduRead {
    std::string status;                    // as text mode names it: "REC UNREAD", "REC READ", ...
    std::optional<SmsPduMessage> message;  // none: the PDU is not a message
};

// What a complete PDU-mode read reply holds; nullopt when it has no "+CMGR:" header.
std::optional<PduRead> pduReadFromReply(const ModemReply& reply);

// The text status of a PDU-mode status number ("0" is "REC UNREAD"); other texts as given.
std::string messageStatusText(std::string_view status);

// The reply a text-mode modem gives for the same message, so that every later step (the
// report's fields, its time stamp, the rules on what is deleted) is the text mode's:
// echo, "+CMGR: \"REC UNREAD\",\"+886912345678\",,\"26/02/01,10:00:00+32\"", the text,
// "OK".
std::string textModeReadReply(std::string_view index, std::string_view status,
                              std::string_view sender, std::string_view timestampText,
                              std::string_view text);

// The modem log's readable line under a PDU: "From +886912345678 at 26/02/01,10:00:00+32:
// ?35...!" (a status report and a part of a longer message say so).
std::string readableLine(const SmsPduMessage& message);

}  // namespace kv820
