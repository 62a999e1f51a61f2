#include "core/commands/send_command_sms.h"

#include <string>

namespace kv820 {

namespace {

constexpr std::string_view CarriageReturn = "\r";
constexpr std::string_view CtrlZThenCr = "\x1a\r";

void LogWrite(const ModemLog& log, std::string_view text, std::string_view terminator) {
    if (log) {
        std::string line;
        line.append(text).append(terminator).append("\r\n");
        log(line);
    }
}

bool NotSent(const ModemLog& log) {
    if (log) {
        log("The SMS was not sent.\r\n");
    }
    return false;
}

}  // namespace

bool SendCommandSms(ComPort& port, const ModemLog& log, std::string_view phone,
                    std::string_view text) {
    const std::string send = std::string("at+cmgs=").append(phone);
    LogWrite(log, "at+cmgf=1", CarriageReturn);
    if (!port.Exchange("at+cmgf=1", reply_timeout::Setting).ok()) {
        return NotSent(log);
    }
    LogWrite(log, send, CarriageReturn);
    if (!port.Exchange(send, reply_timeout::Sim).prompted()) {
        return NotSent(log);
    }
    LogWrite(log, text, CtrlZThenCr);
    if (!port.ExchangeMessageText(text, "+CMGS", reply_timeout::Network).ok()) {
        return NotSent(log);
    }
    return true;
}

}  // namespace kv820
