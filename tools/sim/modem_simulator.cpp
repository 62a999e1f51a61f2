#include "sim/modem_simulator.h"

#include "sim/text_mode_format.h"

namespace kv820::sim {
namespace {

// +CMS error codes a modem gives for the failures simulated here.
constexpr int OperationNotAllowed = 302;
constexpr int InvalidMemoryIndex = 321;

const char Identification[] = "\r\nSIEMENS\r\nMC35i\r\nREVISION 02.00\r\n\r\nOK\r\n";

}  // namespace

ModemSimulator::ModemSimulator(std::size_t capacity)
    : store_(capacity), clock_(&SmsTimestamp::nowUtc) {}

std::optional<int> ModemSimulator::injectReport(const TrackerReport& report,
                                                std::string_view sender) {
    return injectSms(sender, formatReportBody(report));
}

std::optional<int> ModemSimulator::injectSms(std::string_view sender, std::string_view text) {
    auto index = storeSms(sender, text);
    if (index) {
        announce(*index);
    }
    return index;
}

std::optional<int> ModemSimulator::storeSms(std::string_view sender, std::string_view text,
                                            MessageStatus status) {
    return store_.add(StoredMessage{0, status, std::string(sender), std::string(text), clock_()});
}

std::vector<int> ModemSimulator::injectBurst(const std::vector<TrackerReport>& reports,
                                             std::string_view sender) {
    std::vector<int> indexes;
    for (const TrackerReport& report : reports) {
        if (auto index = storeSms(sender, formatReportBody(report))) {
            indexes.push_back(*index);
        }
    }
    for (int index : indexes) {
        announce(index);
    }
    return indexes;
}

void ModemSimulator::announce(int index) {
    if (announcing_) {
        queueOutput("\r\n+CMTI: \"SM\"," + std::to_string(index) + "\r\n");
    }
}

std::string ModemSimulator::answerWake(char) {
    // A modem takes a lone digit outside a command line as noise.
    return "";
}

std::string ModemSimulator::answerCommand(std::string_view command) {
    std::string_view rest;
    if (matches(command, "at") && command.size() == 2) {
        return okResult();
    }
    if (matches(command, "ati", &rest) && (rest.empty() || rest == "0")) {
        return Identification;
    }
    if (matches(command, "at+cmgf=", &rest)) {
        if (rest != "0" && rest != "1") {
            return errorResult();
        }
        textMode_ = rest == "1";
        return okResult();
    }
    if (matches(command, "at+csq") && command.size() == 6) {
        return informationLine("+CSQ: 20,99") + okResult();
    }
    if (matches(command, "at+cpms?")) {
        const std::string use =
            "\"SM\"," + std::to_string(store_.size()) + "," + std::to_string(store_.capacity());
        return informationLine("+CPMS: " + use + "," + use + "," + use) + okResult();
    }
    if (matches(command, "at+cmgf?")) {
        return informationLine(textMode_ ? "+CMGF: 1" : "+CMGF: 0") + okResult();
    }
    if (matches(command, "at+cnmi=", &rest)) {
        return answerNewMessageIndications(rest);
    }
    return answerSmsCommand(command);
}

std::string ModemSimulator::answerNewMessageIndications(std::string_view arguments) {
    const auto comma = arguments.find(',');
    int mode = 0;
    int deliver = 0;
    if (comma == std::string_view::npos || !parseIndex(arguments.substr(0, comma), &mode)) {
        return errorResult();
    }
    std::string_view second = arguments.substr(comma + 1);
    second = second.substr(0, second.find(','));
    if (!parseIndex(second, &deliver)) {
        return errorResult();
    }
    announcing_ = mode != 0 && deliver == 1;
    sessionOpen_ = announcing_;
    return okResult();
}

std::string ModemSimulator::answerSmsCommand(std::string_view command) {
    std::string_view rest;
    const bool isSms = matches(command, "at+cmgr=") || matches(command, "at+cmgl") ||
                       matches(command, "at+cmgs=") || matches(command, "at+cmgd=");
    if (isSms && !textMode_) {
        return cmsError(OperationNotAllowed);
    }
    if (matches(command, "at+cmgr=", &rest)) {
        return answerRead(rest);
    }
    if (matches(command, "at+cmgd=", &rest)) {
        return answerDelete(rest);
    }
    if (matches(command, "at+cmgl", &rest)) {
        return listingReply(store_, "+CMGL", rest, true);
    }
    if (matches(command, "at+cmgs=", &rest)) {
        return answerSend(rest);
    }
    return errorResult();
}

std::string ModemSimulator::answerRead(std::string_view argument) {
    int index = 0;
    if (!parseIndex(argument, &index) || !store_.inRange(index)) {
        return cmsError(InvalidMemoryIndex);
    }
    StoredMessage* message = store_.find(index);
    if (!message) {
        return cmsError(InvalidMemoryIndex);
    }
    std::string reply = readResponse(*message) + okResult();
    if (message->status == MessageStatus::ReceivedUnread) {
        message->status = MessageStatus::ReceivedRead;
    }
    return reply;
}

std::string ModemSimulator::answerDelete(std::string_view argument) {
    int index = 0;
    argument = argument.substr(0, argument.find(','));
    if (!parseIndex(argument, &index) || !store_.inRange(index)) {
        return cmsError(InvalidMemoryIndex);
    }
    store_.remove(index);
    return okResult();
}

std::string ModemSimulator::answerSend(std::string_view argument) {
    const std::string destination = unquoted(argument.substr(0, argument.find(',')));
    if (destination.empty()) {
        return errorResult();
    }
    pendingDestination_ = destination;
    return promptForMessageText();
}

std::string ModemSimulator::answerMessageText(std::string_view text) {
    if (!pendingDestination_) {
        return errorResult();
    }
    sent_.push_back(SentSms{*pendingDestination_, std::string(text)});
    pendingDestination_.reset();
    return informationLine("+CMGS: " + std::to_string(nextReference_++)) + okResult();
}

}  // namespace kv820::sim
