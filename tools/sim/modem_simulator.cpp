#include "sim/modem_simulator.h"

#include <algorithm>
#include <stdexcept>

#include "sim/pdu_format.h"
#include "sim/text_mode_format.h"

namespace kv820::sim {
namespace {

// +CMS error codes a modem gives for the failures simulated here.
constexpr int OperationNotAllowed = 302;
constexpr int InvalidMemoryIndex = 321;
constexpr int UnknownError = 500;

const char Identification[] = "\r\nSIEMENS\r\nMC35i\r\nREVISION 02.00\r\n\r\nOK\r\n";

std::string_view firstWord(std::string_view arguments) {
    return arguments.substr(0, arguments.find(','));
}

}  // namespace

ModemSimulator::ModemSimulator(std::size_t capacity)
    : sim_(capacity), clock_(&SmsTimestamp::nowUtc) {}

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
    return receiveStore().add(
        StoredMessage{0, status, std::string(sender), std::string(text), clock_()});
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

MessageStore& ModemSimulator::storeNamed(std::string_view name) {
    return name == "ME" ? phoneMemory_ : sim_;
}

MessageStore& ModemSimulator::receiveStore() {
    return habits_.receiveInPhoneMemory ? phoneMemory_ : storeNamed(receiveStore_);
}

void ModemSimulator::announce(int index) {
    if (!announcing_) {
        return;
    }
    ++announcementsMade_;
    const bool lostByTurn =
        habits_.loseEveryNth > 0 && announcementsMade_ % habits_.loseEveryNth == 0;
    if (habits_.loseNext > 0 || lostByTurn) {
        habits_.loseNext = std::max(0, habits_.loseNext - 1);
        return;
    }
    const std::string_view store = &receiveStore() == &phoneMemory_ ? "ME" : "SM";
    queueOutput("\r\n+CMTI: \"" + std::string(store) + "\"," + std::to_string(index) + "\r\n");
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
    if (matches(command, "at+cmgf=?")) {
        return informationLine(habits_.pduOnly ? "+CMGF: (0)" : "+CMGF: (0,1)") + okResult();
    }
    if (matches(command, "at+cmgf=", &rest)) {
        if ((rest != "0" && rest != "1") || (rest == "1" && habits_.pduOnly)) {
            return errorResult();
        }
        textMode_ = rest == "1";
        return okResult();
    }
    if (matches(command, "at+csq") && command.size() == 6) {
        return informationLine("+CSQ: 20,99") + okResult();
    }
    if (matches(command, "at+cpms=?")) {
        const char* receiving = habits_.receiveInPhoneMemory ? "(\"ME\")" : "(\"SM\",\"ME\")";
        return informationLine(std::string("+CPMS: (\"SM\",\"ME\"),(\"SM\",\"ME\"),") + receiving) +
               okResult();
    }
    if (matches(command, "at+cpms?")) {
        return informationLine("+CPMS: " + storeUse(true)) + okResult();
    }
    if (matches(command, "at+cpms=", &rest)) {
        return answerStoreSelection(rest);
    }
    if (matches(command, "at+cmgf?")) {
        return informationLine(textMode_ ? "+CMGF: 1" : "+CMGF: 0") + okResult();
    }
    if (matches(command, "at+cnmi=", &rest)) {
        return answerNewMessageIndications(rest);
    }
    return answerSmsCommand(command);
}

std::string ModemSimulator::storeUse(bool named) const {
    // "at+cpms?" names each store; the answer to setting them gives the numbers alone.
    const auto use = [this, named](std::string_view name) {
        const MessageStore& store = name == "ME" ? phoneMemory_ : sim_;
        return (named ? "\"" + std::string(name) + "\"," : std::string()) +
               std::to_string(store.size()) + "," + std::to_string(store.capacity());
    };
    const std::string receiving = habits_.receiveInPhoneMemory ? "ME" : receiveStore_;
    return use(readStore_) + "," + use(readStore_) + "," + use(receiving);
}

std::string ModemSimulator::answerStoreSelection(std::string_view arguments) {
    std::vector<std::string> names;
    for (std::size_t comma = 0; comma != std::string_view::npos;) {
        comma = arguments.find(',');
        names.push_back(unquoted(arguments.substr(0, comma)));
        arguments = comma == std::string_view::npos ? "" : arguments.substr(comma + 1);
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        const bool known = names[i] == "SM" || names[i] == "ME";
        const bool receivable = i < 2 || !habits_.receiveInPhoneMemory || names[i] == "ME";
        if (names.size() > 3 || !known || !receivable) {
            return cmsError(OperationNotAllowed);
        }
    }
    readStore_ = names[0];
    if (names.size() == 3) {
        receiveStore_ = names[2];
    }
    return informationLine("+CPMS: " + storeUse(false)) + okResult();
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
    try {
        return answerStoredMessageCommand(command);
    } catch (const std::invalid_argument&) {
        return cmsError(UnknownError);  // a stored message no PDU can carry
    }
}

std::string ModemSimulator::answerStoredMessageCommand(std::string_view command) {
    std::string_view rest;
    if (matches(command, "at+cmgr=", &rest)) {
        return answerRead(rest);
    }
    if (matches(command, "at+cmgd=", &rest)) {
        return answerDelete(rest);
    }
    if (matches(command, "at+cmgl", &rest)) {
        return textMode_ ? listingReply(readStore(), "+CMGL", rest, true) : answerPduListing(rest);
    }
    if (matches(command, "at+cmgs=", &rest)) {
        return answerSend(rest);
    }
    return errorResult();
}

std::string ModemSimulator::answerRead(std::string_view argument) {
    int index = 0;
    if (!parseIndex(argument, &index) || !readStore().inRange(index)) {
        return cmsError(InvalidMemoryIndex);
    }
    StoredMessage* message = readStore().find(index);
    if (!message) {
        return cmsError(InvalidMemoryIndex);
    }
    std::string reply =
        (textMode_ ? readResponse(*message) : pduReadResponse("+CMGR: ", *message)) + okResult();
    if (message->status == MessageStatus::ReceivedUnread) {
        message->status = MessageStatus::ReceivedRead;
    }
    return reply;
}

std::string ModemSimulator::pduReadResponse(std::string_view prefix,
                                            const StoredMessage& message) const {
    DeliverPduFields fields;
    fields.sender = message.address;
    fields.stamp = message.timestamp.value_or(SmsTimestamp{});
    fields.text = message.body;
    const std::string pdu = deliverPdu(fields);
    return "\r\n" + std::string(prefix) + std::to_string(static_cast<int>(message.status)) + ",," +
           std::to_string(tpduOctets(pdu)) + "\r\n" + pdu + "\r\n";
}

std::string ModemSimulator::answerPduListing(std::string_view argument) {
    // "=4" lists every message; "=0" to "=3" those of one status.
    int status = 4;
    if (!argument.empty() &&
        (argument.front() != '=' || !parseIndex(argument.substr(1), &status) || status > 4)) {
        return cmsError(OperationNotAllowed);
    }
    std::string entries;
    for (const StoredMessage& message : readStore().list()) {
        if (status != 4 && static_cast<int>(message.status) != status) {
            continue;
        }
        entries +=
            pduReadResponse("+CMGL: " + std::to_string(message.index) + ",", message).substr(2);
        if (message.status == MessageStatus::ReceivedUnread) {
            readStore().find(message.index)->status = MessageStatus::ReceivedRead;
        }
    }
    return entries.empty() ? okResult() : "\r\n" + entries + okResult();
}

std::string ModemSimulator::answerDelete(std::string_view argument) {
    int index = 0;
    if (!parseIndex(firstWord(argument), &index) || !readStore().inRange(index)) {
        return cmsError(InvalidMemoryIndex);
    }
    readStore().remove(index);
    return okResult();
}

std::string ModemSimulator::answerSend(std::string_view argument) {
    const std::string destination = unquoted(firstWord(argument));
    if (destination.empty()) {
        return errorResult();
    }
    pendingDestination_ = destination;  // in PDU mode: the length, the PDU names the number
    return promptForMessageText();
}

std::string ModemSimulator::answerMessageText(std::string_view text) {
    if (!pendingDestination_) {
        return errorResult();
    }
    const std::string destination = *pendingDestination_;
    pendingDestination_.reset();
    if (habits_.refuseNextSend != 0) {
        const int code = habits_.refuseNextSend;
        habits_.refuseNextSend = 0;
        return cmsError(code);
    }
    if (textMode_) {
        sent_.push_back(SentSms{destination, std::string(text)});
    } else {
        const std::optional<SubmittedSms> submitted = decodeSubmitPdu(text);
        if (!submitted || std::to_string(tpduOctets(text)) != destination) {
            return cmsError(OperationNotAllowed);  // no PDU, or not the length announced
        }
        sent_.push_back(SentSms{submitted->destination, submitted->text});
    }
    return informationLine("+CMGS: " + std::to_string(nextReference_++)) + okResult();
}

}  // namespace kv820::sim
