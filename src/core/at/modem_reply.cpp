#include "core/at/modem_reply.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "core/at/modem_event.h"

namespace kv820 {

namespace {

constexpr std::array<std::string_view, 3> MessageHeaders = {"+CMGR:", "+CMGL:", "^SMGL:"};

// The line proper of the bytes [start, lf) and its offset.
ModemLine lineProper(std::string_view text, std::size_t start, std::size_t lf) {
    std::string_view line = text.substr(start, lf - start);
    while (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    std::size_t offset = start;
    const std::size_t cr = line.rfind('\r');
    if (cr != std::string_view::npos) {
        line.remove_prefix(cr + 1);
        offset += cr + 1;
    }
    return ModemLine{line, offset, lf + 1};
}

}  // namespace

std::vector<ModemLine> modemLines(std::string_view text) {
    std::vector<ModemLine> lines;
    for (std::size_t start = 0, lf = text.find('\n'); lf != std::string_view::npos;
         start = lf + 1, lf = text.find('\n', start)) {
        lines.push_back(lineProper(text, start, lf));
    }
    return lines;
}

FinalResult finalResultOfLine(std::string_view line) {
    if (line == "OK") {
        return FinalResult::Ok;
    }
    if (line == "ERROR") {
        return FinalResult::Error;
    }
    if (line.starts_with("+CMS ERROR:")) {
        return FinalResult::CmsError;
    }
    if (line.starts_with("+CME ERROR:")) {
        return FinalResult::CmeError;
    }
    return FinalResult::None;
}

bool isMessageHeaderLine(std::string_view line) {
    return std::any_of(MessageHeaders.begin(), MessageHeaders.end(),
                       [line](std::string_view header) { return line.starts_with(header); });
}

std::string answerPrefixOf(std::string_view command) {
    const auto lower = [](char c) {
        return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    };
    if (command.size() < 4 || lower(command[0]) != 'a' || lower(command[1]) != 't' ||
        (command[2] != '+' && command[2] != '^')) {
        return {};
    }
    std::string prefix(1, command[2]);
    for (char c : command.substr(3)) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            break;
        }
        prefix.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    }
    return prefix;
}

std::optional<std::string_view> ModemReply::lineAfter(std::string_view prefix) const {
    for (const ModemLine& line : modemLines(text)) {
        if (line.text.starts_with(prefix)) {
            return line.text.substr(prefix.size());
        }
    }
    return std::nullopt;
}

std::size_t ReplyAssembler::add(std::string_view bytes) {
    std::size_t taken = 0;
    // Line by line, so that not one byte past the final result code is taken.
    while (taken < bytes.size() && !complete()) {
        const std::size_t lf = bytes.find('\n', taken);
        const std::size_t upTo = lf == std::string_view::npos ? bytes.size() : lf + 1;
        reply_.text.append(bytes.substr(taken, upTo - taken));
        taken = upTo;
        walkWholeLines();
    }
    // The prompt has no line end: it counts only as the last thing the modem sent so far.
    if (!complete() && promptEnds_ && openLine().ends_with("> ")) {
        reply_.result = FinalResult::Prompt;
        reply_.resultLine = "> ";
        walked_ = reply_.text.size();
    }
    return taken;
}

void ReplyAssembler::walkWholeLines() {
    std::string& text = reply_.text;
    for (std::size_t lf = text.find('\n', walked_); lf != std::string::npos;
         lf = text.find('\n', walked_)) {
        const ModemLine line = lineProper(text, walked_, lf);
        if (messageTextNext_) {
            messageTextNext_ = false;
            walked_ = line.end;
            continue;
        }
        if (isUnsolicitedLine(line.text, ownPrefix_)) {
            unsolicited_.push_back(text.substr(line.start, line.end - line.start));
            text.erase(line.start, line.end - line.start);
            walked_ = line.start;
            continue;
        }
        walked_ = line.end;
        const FinalResult result = finalResultOfLine(line.text);
        if (result != FinalResult::None) {
            reply_.result = result;
            reply_.resultLine = std::string(line.text);
            return;
        }
        messageTextNext_ = isMessageHeaderLine(line.text);
    }
}

std::vector<std::string> ReplyAssembler::takeUnsolicited() {
    std::vector<std::string> lines;
    lines.swap(unsolicited_);
    return lines;
}

std::string_view ReplyAssembler::openLine() const {
    if (complete()) {
        return {};
    }
    return std::string_view(reply_.text).substr(walked_);
}

std::string ReplyAssembler::releaseOpenAnnouncement() {
    const std::string_view open = openLine();
    const std::size_t start = openAnnouncementStart(open);
    if (start == std::string_view::npos) {
        return {};
    }
    std::string released(open.substr(start));
    reply_.text.resize(reply_.text.size() - released.size());
    return released;
}

}  // namespace kv820
