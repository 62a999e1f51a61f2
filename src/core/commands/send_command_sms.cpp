#include "core/commands/send_command_sms.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "core/sms/sms_pdu.h"

namespace kv820 {

namespace {

constexpr std::string_view CarriageReturn = "\r";
constexpr std::string_view CtrlZThenCr = "\x1a\r";
constexpr int RetriesOfTransientRefusal = 2;

void logText(const ModemLog& log, std::string_view text) {
    if (log) {
        log(text);
    }
}

void logWrite(const ModemLog& log, std::string_view text, std::string_view terminator) {
    std::string line;
    line.append(text).append(terminator).append("\r\n");
    logText(log, line);
}

// What the modem is given for one SMS in the session's mode.
struct Submission {
    std::string modeCommand;
    std::string sendCommand;
    std::string body;
};

std::optional<Submission> submissionFor(MessageMode mode, std::string_view phone,
                                        std::string_view text) {
    if (mode == MessageMode::Text) {
        return Submission{"at+cmgf=1", std::string("at+cmgs=").append(phone), std::string(text)};
    }
    const std::optional<SmsSubmitPdu> pdu = encodeSmsSubmit(phone, text);
    if (!pdu) {
        return std::nullopt;
    }
    return Submission{"at+cmgf=0", "at+cmgs=" + std::to_string(pdu->tpduOctets), pdu->hex};
}

// "+CMS ERROR: 512" (a message arriving meanwhile), 500 (unknown) and 332 (network time-out)
// say nothing about the message: the same one may go through a moment later.
bool refusedForTheMoment(const ModemReply& reply) {
    constexpr std::array<std::string_view, 3> Transient = {"+CMS ERROR: 512", "+CMS ERROR: 500",
                                                           "+CMS ERROR: 332"};
    return reply.result == FinalResult::CmsError &&
           std::find(Transient.begin(), Transient.end(), reply.resultLine) != Transient.end();
}

// One attempt: the refusing reply, or nullopt when the modem took the message.
std::optional<ModemReply> submit(ComPort& port, const ModemLog& log, const Submission& sms,
                                 std::string_view readable) {
    logWrite(log, sms.modeCommand, CarriageReturn);
    ModemReply reply = port.exchange(sms.modeCommand, reply_timeout::Setting);
    if (!reply.ok()) {
        return reply;
    }
    logWrite(log, sms.sendCommand, CarriageReturn);
    reply = port.exchange(sms.sendCommand, reply_timeout::Sim);
    if (!reply.prompted()) {
        return reply;
    }
    logWrite(log, sms.body, CtrlZThenCr);
    logText(log, readable);
    reply = port.exchangeMessageText(sms.body, "+CMGS", reply_timeout::Network);
    if (!reply.ok()) {
        return reply;
    }
    return std::nullopt;
}

}  // namespace

bool SendCommandSms(ComPort& port, MessageMode mode, const ModemLog& log, std::string_view phone,
                    std::string_view text) {
    const std::optional<Submission> sms = submissionFor(mode, phone, text);
    if (!sms) {
        logText(log, "The SMS cannot be put into a PDU (phone number or text).\r\n");
        logText(log, "The SMS was not sent.\r\n");
        return false;
    }
    const std::string readable =
        mode == MessageMode::Pdu ? "To " + std::string(phone) + ": " + std::string(text) + "\r\n"
                                 : std::string();
    for (int attempt = 0;; ++attempt) {
        const std::optional<ModemReply> refusal = submit(port, log, *sms, readable);
        if (!refusal) {
            return true;
        }
        if (!refusedForTheMoment(*refusal) || attempt == RetriesOfTransientRefusal) {
            break;
        }
        logText(log, refusal->resultLine + ": the SMS is sent again in a moment.\r\n");
        port.clock().sleepFor(SendRetryPause);
    }
    logText(log, "The SMS was not sent.\r\n");
    return false;
}

}  // namespace kv820
