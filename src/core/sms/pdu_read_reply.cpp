#include "core/sms/pdu_read_reply.h"

#include <array>

namespace kv820 {

namespace {
constexpr std::string_view ReadHeader = "+CMGR:";
}  // namespace

std::string messageStatusText(std::string_view status) {
    constexpr std::array<std::string_view, 4> Texts = {"REC UNREAD", "REC READ", "STO UNSENT",
                                                       "STO SENT"};
    if (status.size() == 1 && status[0] >= '0' && status[0] <= '3') {
        return std::string(Texts[status[0] - '0']);
    }
    return std::string(status);
}

std::optional<PduRead> pduReadFromReply(const ModemReply& reply) {
    const std::vector<ModemLine> lines = modemLines(reply.text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view header = lines[i].text;
        if (!header.starts_with(ReadHeader)) {
            continue;
        }
        header.remove_prefix(ReadHeader.size());
        while (header.starts_with(' ')) {
            header.remove_prefix(1);
        }
        PduRead read;
        read.status = messageStatusText(header.substr(0, header.find(',')));
        if (i + 1 < lines.size()) {
            read.message = decodeSmsPdu(lines[i + 1].text);
        }
        return read;
    }
    return std::nullopt;
}

std::string textModeReadReply(std::string_view index, std::string_view status,
                              std::string_view sender, std::string_view timestampText,
                              std::string_view text) {
    std::string reply = "at+cmgr=";
    reply.append(index).append("\r\r\n+CMGR: \"").append(status).append("\",\"");
    reply.append(sender).append("\",,\"").append(timestampText).append("\"\r\n");
    reply.append(text).append("\r\n\r\nOK\r\n");
    return reply;
}

std::string readableLine(const SmsPduMessage& message) {
    if (message.kind == SmsPduMessage::Kind::StatusReport) {
        return "Status report for " + message.sender + " at " + message.timestampText + "\r\n";
    }
    std::string line = "From " + message.sender + " at " + message.timestampText;
    if (message.part) {
        line += " (part " + std::to_string(message.part->sequence) + " of " +
                std::to_string(message.part->total) + ")";
    }
    line += ": ";
    for (const char c : message.text) {
        line += c == '\r' || c == '\n' ? ' ' : c;  // one line, whatever the text holds
    }
    return line + "\r\n";
}

}  // namespace kv820
