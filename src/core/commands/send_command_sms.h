#pragma once

#include <string_view>

#include "core/modem/com_port.h"
#include "core/modem/modem_log.h"

namespace kv820 {

// Hands one SMS to the modem in text mode: "at+cmgf=1", "at+cmgs=" + phone, then, once the
// modem's "> " prompt came, the text ended by Ctrl-Z. Each write is logged as written
// followed by CR LF. Every step waits for its own reply, so nothing of it is left for the
// reception to misread; the text waits for the network's answer ("+CMGS: n", "OK"). True
// when the modem took the message; otherwise the log says it was not sent.
bool SendCommandSms(ComPort& port, const ModemLog& log, std::string_view phone,
                    std::string_view text);

}  // namespace kv820
