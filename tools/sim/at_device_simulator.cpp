#include "sim/at_device_simulator.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "sim/message_store.h"
#include "sim/text_mode_format.h"

namespace kv820::sim {

std::string AtDeviceSimulator::feed(std::string_view bytes) {
    for (char byte : bytes) {
        if (faults_.vanished()) {
            break;
        }
        const bool typingText = framer_.inMessageText();
        if (auto input = framer_.push(byte)) {
            handle(*input);
        } else if (typingText && echo_ && !faults_.takeSilence()) {
            // A module echoes message text as it is typed; silence applies per byte here.
            output_ += byte;
        }
    }
    return takeOutput();
}

std::string AtDeviceSimulator::takeOutput() {
    std::string output;
    output.swap(output_);
    return output;
}

std::optional<AtDeviceSimulator::ReceivedCommand> AtDeviceSimulator::takeReceivedCommand() {
    std::optional<ReceivedCommand> received;
    received.swap(received_);
    return received;
}

std::string AtDeviceSimulator::promptForMessageText() {
    framer_.expectMessageText();
    return "\r\n> ";
}

void AtDeviceSimulator::handle(const FramedInput& input) {
    switch (input.kind) {
        case FramedInput::Kind::CommandLine:
            handleCommand(input.text);
            break;
        case FramedInput::Kind::WakeCharacter:
            if (!faults_.takeSilence()) {
                queueOutput(answerWake(input.text[0]));
            }
            break;
        case FramedInput::Kind::MessageText:
            if (!faults_.takeSilence()) {
                queueOutput(faults_.shapeReply({}, answerMessageText(input.text)));
            }
            break;
        case FramedInput::Kind::MessageCancelled:
            cancelMessageText();
            queueOutput(okResult());
            break;
    }
}

void AtDeviceSimulator::handleCommand(const std::string& command) {
    received_ = ReceivedCommand{command, output_.size()};
    if (command.empty() || faults_.takeSilence()) {
        return;
    }
    std::string reply = echo_ ? command + "\r" : std::string();
    const std::size_t echoBytes = reply.size();
    if (faults_.takeError(command)) {
        reply += errorResult();
    } else {
        reply += answerEchoCommand(command);
    }
    reply = faults_.shapeReply(command, std::move(reply));
    received_->answerStart += std::min(echoBytes, reply.size());
    queueOutput(reply);
}

std::string AtDeviceSimulator::answerEchoCommand(std::string_view command) {
    std::string_view rest;
    if (matches(command, "ate", &rest) && (rest.empty() || rest == "0" || rest == "1")) {
        echo_ = rest == "1";
        return okResult();
    }
    return answerCommand(command);
}

bool AtDeviceSimulator::matches(std::string_view command, std::string_view prefix,
                                std::string_view* rest) {
    if (command.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(command[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i]))) {
            return false;
        }
    }
    if (rest) {
        *rest = command.substr(prefix.size());
    }
    return true;
}

bool AtDeviceSimulator::parseIndex(std::string_view text, int* index) {
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, *index);
    return error == std::errc() && stop == end && !text.empty();
}

std::string AtDeviceSimulator::unquoted(std::string_view text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        text = text.substr(1, text.size() - 2);
    }
    return std::string(text);
}

std::string AtDeviceSimulator::listingReply(MessageStore& store, std::string_view prefix,
                                            std::string_view argument, bool marksRead) {
    std::optional<MessageStatus> filter = MessageStatus::ReceivedUnread;
    if (!argument.empty()) {
        if (argument.front() != '=') {
            return errorResult();
        }
        const std::string wanted = unquoted(argument.substr(1));
        filter = statusFromText(wanted);
        if (!filter && wanted != "ALL") {
            return errorResult();
        }
    }
    std::string entries;
    for (const StoredMessage& message : store.list(filter)) {
        entries += listingEntry(prefix, message);
        if (marksRead && message.status == MessageStatus::ReceivedUnread) {
            store.find(message.index)->status = MessageStatus::ReceivedRead;
        }
    }
    return entries.empty() ? okResult() : "\r\n" + entries + okResult();
}

}  // namespace kv820::sim
