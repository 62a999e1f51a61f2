#include "core/commands/send_command_sms.h"

#include <string>

namespace kv820 {

namespace {

constexpr std::string_view CarriageReturn = "\r";
constexpr std::string_view CtrlZThenCr = "\x1a\r";

void WriteLogAndRead(ComPort& port, const ModemLog& log, std::string_view text,
                     std::string_view terminator) {
    port.SendAtCommand(text, terminator);
    if (log) {
        std::string line;
        line.append(text).append(terminator).append("\r\n");
        log(line);
    }
    port.ReadModemReply(CommandSmsReplySize);
}

}  // namespace

void SendCommandSms(ComPort& port, const ModemLog& log, std::string_view phone,
                    std::string_view text) {
    WriteLogAndRead(port, log, "at+cmgf=1", CarriageReturn);
    WriteLogAndRead(port, log, std::string("at+cmgs=").append(phone), CarriageReturn);
    WriteLogAndRead(port, log, text, CtrlZThenCr);
}

}  // namespace kv820
