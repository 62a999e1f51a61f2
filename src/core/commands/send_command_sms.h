#pragma once

#include <chrono>
#include <string_view>

#include "core/at/com_port.h"
#include "core/at/modem_log.h"
#include "core/sms/message_mode.h"

namespace kv820 {

// Hands one SMS to the modem. In text mode: "at+cmgf=1", "at+cmgs=" + phone, then, once the
// modem's "> " prompt came, the text ended by Ctrl-Z. In PDU mode: "at+cmgf=0",
// "at+cmgs=<octets>", and the SMS-SUBMIT in hex ended by Ctrl-Z, with a readable line of
// what it holds. Each write is logged as written followed by CR LF. Every step waits for
// its own reply, so nothing of it is left for the reception to misread; the text waits for
// the network's answer ("+CMGS: n", "OK"). A refusal the network gives for the moment (a
// message arriving, no network) is tried again twice, a short pause apart. True when the
// modem took the message; otherwise the log says it was not sent.
bool SendCommandSms(ComPort& port, MessageMode mode, const ModemLog& log, std::string_view phone,
                    std::string_view text);

// The pause before a send refused for the moment is tried again.
inline constexpr std::chrono::milliseconds SendRetryPause{3000};

}  // namespace kv820
