#pragma once

#include <cstddef>
#include <string_view>

#include "core/modem/com_port.h"
#include "core/modem/modem_log.h"

namespace kv820 {

// Bytes read (and dropped) after each of the three writes of a command SMS.
inline constexpr std::size_t CommandSmsReplySize = 64;

// Hands one SMS to the modem in text mode: "at+cmgf=1", "at+cmgs=" + phone, then the text
// ended by Ctrl-Z. Each write is logged as written followed by CR LF, then one reply read
// of up to CommandSmsReplySize bytes follows. Replies are not examined: the modem's prompt
// and result are not waited for beyond these reads, and the send always counts as done.
void SendCommandSms(ComPort& port, const ModemLog& log, std::string_view phone,
                    std::string_view text);

}  // namespace kv820
