#include "sim/at_input_framer.h"

namespace kv820::sim {

std::optional<FramedInput> AtInputFramer::push(char byte) {
    return messageText_ ? pushTextByte(byte) : pushCommandByte(byte);
}

void AtInputFramer::reset() {
    buffer_.clear();
    messageText_ = false;
}

std::optional<FramedInput> AtInputFramer::pushCommandByte(char byte) {
    if (byte == '\r') {
        FramedInput line{FramedInput::Kind::CommandLine, std::move(buffer_)};
        buffer_.clear();
        return line;
    }
    if (byte == '\n' || byte == '\0') {
        return std::nullopt;
    }
    if (byte == Escape) {  // a modem drops a command line cut short by ESC
        buffer_.clear();
        return std::nullopt;
    }
    if (buffer_.empty() && (byte == '1' || byte == '2')) {
        return FramedInput{FramedInput::Kind::WakeCharacter, std::string(1, byte)};
    }
    if (byte == '\b') {
        if (!buffer_.empty()) {
            buffer_.pop_back();
        }
        return std::nullopt;
    }
    if (buffer_.size() < MaxLine) {
        buffer_ += byte;
    }
    return std::nullopt;
}

std::optional<FramedInput> AtInputFramer::pushTextByte(char byte) {
    if (byte == CtrlZ || byte == Escape) {
        const auto kind =
            byte == CtrlZ ? FramedInput::Kind::MessageText : FramedInput::Kind::MessageCancelled;
        FramedInput text{kind, std::move(buffer_)};
        buffer_.clear();
        messageText_ = false;
        return text;
    }
    if (buffer_.size() < MaxLine) {
        buffer_ += byte;
    }
    return std::nullopt;
}

}  // namespace kv820::sim
