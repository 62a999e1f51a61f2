#include "core/modem/com_port.h"

#include <algorithm>

namespace kv820 {

namespace {

bool IsFinalResultLine(std::string_view line) {
    if (line == "OK" || line == "ERROR") {
        return true;
    }
    for (std::string_view prefix : {"+CMS ERROR:", "+CME ERROR:"}) {
        if (line.starts_with(prefix)) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string PortNameFromEntry(std::string_view entry) {
    if (!entry.empty() && entry.back() == ':') {
        entry.remove_suffix(1);
    }
    return std::string(entry);
}

bool ReplyHasOk(std::string_view reply) {
    return reply.find("OK") != std::string_view::npos;
}

std::size_t FinalResultEnd(std::string_view text) {
    std::size_t lineStart = 0;
    while (lineStart < text.size()) {
        const std::size_t lf = text.find('\n', lineStart);
        std::string_view rest = text.substr(
            lineStart, lf == std::string_view::npos ? std::string_view::npos : lf - lineStart);
        // A "> " prompt is not followed by a line end: it ends the text it stands in.
        if (lf == std::string_view::npos) {
            const std::size_t prompt = rest.find("> ");
            if (prompt != std::string_view::npos && prompt + 2 == rest.size()) {
                return text.size();
            }
            return std::string_view::npos;
        }
        std::string_view line = rest;
        while (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        // An echoed command ends with CR only, so the result may follow it on the same line.
        const std::size_t cr = line.rfind('\r');
        if (cr != std::string_view::npos) {
            line = line.substr(cr + 1);
        }
        if (IsFinalResultLine(line)) {
            return lf + 1;
        }
        lineStart = lf + 1;
    }
    return std::string_view::npos;
}

bool ComPort::OpenComPort(const std::string& entry) {
    CloseComPort();
    const std::string name = PortNameFromEntry(entry);
    if (name.empty() || name == "NO") {
        return false;
    }
    pending_.clear();
    announcements_.clear();
    return link_.open(name);
}

void ComPort::CloseComPort() {
    if (link_.isOpen()) {
        link_.close();
    }
    pending_.clear();
}

void ComPort::SendAtCommand(std::string_view text, std::string_view terminator) {
    std::string line;
    line.reserve(text.size() + terminator.size());
    line.append(text).append(terminator);
    link_.write(line);
}

std::string ComPort::ReadModemReply(std::size_t size) {
    const auto deadline = clock_.now() + ReadTimeout;
    std::string reply;
    reply.swap(pending_);
    while (true) {
        // Announcements are no part of the reply, so they must not count against its size:
        // in a burst, the next "+CMTI" lines wait ahead of the reply and would otherwise
        // push its end (and its final result code) past the read size.
        keepAnnouncements(reply);
        const std::size_t end = FinalResultEnd(reply);
        if (end != std::string::npos && end <= size) {
            pending_ = reply.substr(end) + pending_;
            reply.resize(end);
            break;
        }
        if (reply.size() >= size) {
            pending_ = reply.substr(size) + pending_;
            reply.resize(size);
            keepPartialAnnouncement(reply);
            break;
        }
        const auto now = clock_.now();
        if (now >= deadline || !link_.isOpen()) {
            keepPartialAnnouncement(reply);
            break;
        }
        const auto remaining =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
        std::string chunk = link_.readAvailable(size - reply.size(), remaining);
        reply += chunk;
    }
    return reply;
}

void ComPort::keepAnnouncements(std::string& reply) {
    std::size_t lineStart = 0;
    while (lineStart < reply.size()) {
        const std::size_t lf = reply.find('\n', lineStart);
        if (lf == std::string::npos) {
            break;
        }
        const std::string_view line(reply.data() + lineStart, lf + 1 - lineStart);
        if (line.find("+CMTI") != std::string_view::npos) {
            announcements_.emplace_back(line);
            reply.erase(lineStart, line.size());
        } else {
            lineStart = lf + 1;
        }
    }
}

void ComPort::keepPartialAnnouncement(std::string& reply) {
    // A read cut short by its size or time-out can end inside an announcement line; handed
    // out with the reply, its start would be lost and the rest would reach the next reader
    // without its "+CMTI". Such a start stays buffered until the line is whole.
    constexpr std::string_view Mark = "+CMTI";
    const std::size_t lf = reply.rfind('\n');
    const std::size_t start = lf == std::string::npos ? 0 : lf + 1;
    const std::string_view tail = std::string_view(reply).substr(start);
    if (!tail.empty() && (tail.starts_with(Mark) || Mark.starts_with(tail))) {
        pending_.insert(0, tail);
        reply.resize(start);
    }
}

void ComPort::WakeModem(std::chrono::milliseconds wait, char wakeCharacter) {
    SendAtCommand(std::string_view(&wakeCharacter, 1), "");
    ReadModemReply(128);
    clock_.sleepFor(wait);
}

std::optional<char> ComPort::ReadByte(std::chrono::milliseconds timeout) {
    if (pending_.empty()) {
        pending_ = link_.readAvailable(1, timeout);
        if (pending_.empty()) {
            return std::nullopt;
        }
    }
    const char byte = pending_.front();
    pending_.erase(0, 1);
    return byte;
}

std::optional<std::string> ComPort::TakeAnnouncement() {
    if (announcements_.empty()) {
        return std::nullopt;
    }
    std::string line = std::move(announcements_.front());
    announcements_.pop_front();
    return line;
}

}  // namespace kv820
