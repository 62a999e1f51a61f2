#include "sim/fault_injector.h"

#include <algorithm>
#include <cctype>

namespace kv820::sim {
namespace {

std::string lowered(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

}  // namespace

void FaultInjector::errorOn(std::string prefix) {
    errorPrefixes_.push_back(lowered(prefix));
}

void FaultInjector::clear() {
    silent_ = false;
    hung_ = false;
    silentCommands_ = 0;
    errorCommands_ = 0;
    cutTo_.reset();
    errorPrefixes_.clear();
}

bool FaultInjector::takeSilence() {
    if (silent_ || hung_) {
        return true;
    }
    if (silentCommands_ > 0) {
        --silentCommands_;
        return true;
    }
    return false;
}

bool FaultInjector::takeError(std::string_view command) {
    if (errorCommands_ > 0) {
        --errorCommands_;
        return true;
    }
    const std::string lower = lowered(command);
    return std::any_of(errorPrefixes_.begin(), errorPrefixes_.end(),
                       [&](const std::string& p) { return lower.compare(0, p.size(), p) == 0; });
}

void FaultInjector::cutNext(std::size_t bytes, std::string_view prefix) {
    cutTo_ = bytes;
    cutPrefix_ = lowered(prefix);
}

std::string FaultInjector::shapeReply(std::string_view command, std::string reply) {
    if (cutTo_ && lowered(command).starts_with(cutPrefix_)) {
        reply.resize(std::min(reply.size(), *cutTo_));
        cutTo_.reset();
    }
    return reply;
}

std::string FaultInjector::overlongLine(std::size_t length) {
    std::string line;
    line.reserve(length + 2);
    for (std::size_t i = 0; i < length; ++i) {
        line += static_cast<char>('A' + i % 26);
    }
    return line + "\r\n";
}

std::string FaultInjector::noise(std::size_t count, unsigned seed) {
    std::string bytes;
    unsigned state = seed ? seed : 1;
    while (bytes.size() < count) {
        state = state * 1103515245u + 12345u;
        const char byte = static_cast<char>((state >> 16) & 0xFF);
        if (byte != '\r' && byte != '\n') {
            bytes += byte;
        }
    }
    return bytes;
}

}  // namespace kv820::sim
