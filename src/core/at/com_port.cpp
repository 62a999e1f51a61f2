#include "core/at/com_port.h"

#include <algorithm>

namespace kv820 {

namespace {

using std::chrono::milliseconds;

// Waits are cut into slices so that a stop request is seen between them; a read returns as
// soon as bytes arrive, so slicing costs nothing when the modem answers.
constexpr milliseconds ReadSlice{100};
constexpr std::size_t ReadChunk = 4096;
// After a resynchronising "OK": a stale final result still on its way shows up within this.
constexpr milliseconds SettleQuiet{100};
constexpr int ResyncAttempts = 3;
constexpr std::string_view CancelText = "\x1b";  // ESC ends a modem's message text entry
constexpr std::string_view MessageTextEnd = "\x1a\r";

bool awaitsMessageText(std::string_view answerPrefix) {
    return answerPrefix == "+CMGS" || answerPrefix == "+CMGW";
}

// A whole line the port completed (its LF included), judged once: the place it announces,
// when it announces one.
ModemEvent eventOf(std::string line) {
    const std::vector<ModemLine> lines = modemLines(line);
    std::optional<MessagePlace> announced =
        newSmsAnnouncementPlace(lines.empty() ? std::string_view(line) : lines.front().text);
    return ModemEvent{std::move(line), std::move(announced)};
}

}  // namespace

std::string portNameFromEntry(std::string_view entry) {
    if (!entry.empty() && entry.back() == ':') {
        entry.remove_suffix(1);
    }
    return std::string(entry);
}

bool ComPort::OpenComPort(const std::string& entry) {
    CloseComPort();
    const std::string name = portNameFromEntry(entry);
    if (name.empty() || name == "NO") {
        return false;
    }
    return link_.open(name);
}

void ComPort::CloseComPort() {
    if (link_.isOpen()) {
        link_.close();
    }
    pending_.clear();
    events_.clear();
    outOfStep_ = silent_ = false;
    awaitingText_ = false;
}

void ComPort::SendAtCommand(std::string_view text, std::string_view terminator) {
    std::string line;
    line.reserve(text.size() + terminator.size());
    line.append(text).append(terminator);
    link_.write(line);
}

ModemReply ComPort::exchange(std::string_view command, milliseconds timeout,
                             std::string_view terminator) {
    std::string prefix = answerPrefixOf(command);
    const bool promptEnds = awaitsMessageText(prefix);
    std::string bytes(command);
    bytes.append(terminator);
    return exchange(bytes, ReplyAssembler(std::move(prefix), promptEnds), timeout);
}

ModemReply ComPort::exchangeMessageText(std::string_view text, std::string_view answerPrefix,
                                        milliseconds timeout) {
    // Without the prompt the modem is in command mode, where the text would be a command.
    if (!awaitingText_ || gone()) {
        return {};
    }
    awaitingText_ = false;
    SendAtCommand(text, MessageTextEnd);
    ReplyAssembler assembler{std::string(answerPrefix)};
    finishReply(assembler, timeout);
    return assembler.takeReply();
}

ModemReply ComPort::exchange(std::string_view bytes, ReplyAssembler assembler,
                             milliseconds timeout) {
    if (gone() || abandoned()) {
        return {};  // nothing more is said to a modem whose session is closing
    }
    if (awaitingText_) {
        SendAtCommand(CancelText, "");
        awaitingText_ = false;
    }
    if (outOfStep_ && !resynchronise()) {
        return {};  // nothing is written to a modem that cannot be brought back in step
    }
    drainWaiting(milliseconds(0));
    SendAtCommand(bytes, "");
    finishReply(assembler, timeout);
    return assembler.takeReply();
}

void ComPort::finishReply(ReplyAssembler& assembler, milliseconds timeout) {
    readInto(assembler, timeout);
    keepUnsolicited(assembler);
    if (assembler.complete()) {
        awaitingText_ = assembler.reply().prompted();
        return;
    }
    // The rest of this reply may still come: whoever reads next must not take it for its own.
    pending_.insert(0, assembler.releaseOpenAnnouncement());
    outOfStep_ = true;
    staleTimeout_ = timeout;
}

void ComPort::readInto(ReplyAssembler& assembler, milliseconds timeout) {
    const milliseconds deadline = clock_.now() + timeout;
    if (!pending_.empty()) {
        pending_.erase(0, assembler.add(pending_));
    }
    while (!assembler.complete() && assembler.reply().text.size() < MaxReplyBytes) {
        const milliseconds now = clock_.now();
        if (now >= deadline || gone() || abandoned()) {
            return;
        }
        const std::string chunk =
            link_.readAvailable(ReadChunk, std::min(ReadSlice, deadline - now));
        pending_.append(std::string_view(chunk).substr(assembler.add(chunk)));
    }
}

bool ComPort::resynchronise() {
    // A module that answered nothing last time is asked once more, briefly: a wrong or dead
    // port must not cost seconds for every step of a conversation.
    if (!silent_ && awaitStaleReply()) {
        return true;
    }
    // ESC first, in case the modem waits for message text (it would take "at" for the text
    // of an SMS).
    SendAtCommand(CancelText, "");
    const int attempts = silent_ ? 1 : ResyncAttempts;
    for (int attempt = 0; attempt < attempts && !gone() && !abandoned(); ++attempt) {
        drainWaiting(milliseconds(0));
        SendAtCommand("at");
        ReplyAssembler probe;
        readInto(probe, reply_timeout::Quick);
        keepUnsolicited(probe);
        logStray(probe.reply().text);
        if (probe.reply().ok()) {
            // That "OK" may have been the stale reply's end: the probe's own then follows
            // within a moment and is drained with anything else left over.
            drainWaiting(SettleQuiet);
            outOfStep_ = silent_ = false;
            return true;
        }
        pending_.insert(0, probe.releaseOpenAnnouncement());
    }
    silent_ = true;
    return false;
}

bool ComPort::awaitStaleReply() {
    // The reply that timed out may still be on its way: its end puts the port back in step.
    ReplyAssembler stale;
    readInto(stale, std::min(staleTimeout_, StaleReplyWait));
    keepUnsolicited(stale);
    logStray(stale.reply().text);
    if (!stale.complete()) {
        pending_.insert(0, stale.releaseOpenAnnouncement());
        return false;
    }
    outOfStep_ = false;
    if (stale.reply().prompted()) {
        SendAtCommand(CancelText, "");
    }
    return true;
}

void ComPort::drainWaiting(milliseconds quiet) {
    std::string waiting;
    waiting.swap(pending_);
    while (!gone()) {
        const std::string chunk = link_.readAvailable(ReadChunk, quiet);
        if (chunk.empty()) {
            break;
        }
        waiting += chunk;
    }
    std::size_t done = 0;
    for (const ModemLine& line : modemLines(waiting)) {
        // What precedes a line proper (a line cut short before it) is no line of its own.
        logStray(std::string_view(waiting).substr(done, line.start - done));
        keepUnsolicited(waiting.substr(line.start, line.end - line.start));
        done = line.end;
    }
    // A line still being written belongs to whatever comes next (the reply, or the next
    // event): it stays buffered.
    pending_ = waiting.substr(done);
}

void ComPort::keepUnsolicited(ReplyAssembler& assembler) {
    for (std::string& line : assembler.takeUnsolicited()) {
        keepUnsolicited(std::move(line));
    }
}

void ComPort::keepUnsolicited(std::string line) {
    ModemEvent event = eventOf(std::move(line));
    if (event.announced) {
        events_.push_back(std::move(event));
    } else {
        logStray(event.line);
    }
}

void ComPort::logStray(std::string_view bytes) {
    if (!bytes.empty() && strayLog_) {
        strayLog_(bytes);
    }
}

bool ComPort::abandoned() const {
    return abandon_ && abandon_();
}

std::string ComPort::listen(std::size_t maxBytes, milliseconds timeout) {
    const milliseconds deadline = clock_.now() + timeout;
    std::string heard = pending_.substr(0, maxBytes);
    pending_.erase(0, heard.size());
    while (heard.size() < maxBytes) {
        const milliseconds now = clock_.now();
        if (now >= deadline || gone() || abandoned()) {
            break;
        }
        heard += link_.readAvailable(maxBytes - heard.size(), std::min(ReadSlice, deadline - now));
    }
    return heard;
}

void ComPort::WakeModem(char wakeCharacter) {
    constexpr std::size_t WakeReplySize = 128;
    SendAtCommand(std::string_view(&wakeCharacter, 1), "");
    listen(WakeReplySize, reply_timeout::Quick);
}

std::optional<ModemEvent> ComPort::nextEvent(Wait wait) {
    if (abandoned()) {
        return std::nullopt;
    }
    if (events_.empty()) {
        completeLine(wait);
    }
    if (events_.empty()) {
        return std::nullopt;
    }
    ModemEvent event = std::move(events_.front());
    events_.pop_front();
    return event;
}

void ComPort::completeLine(Wait wait) {
    std::size_t searched = 0;
    while (true) {
        const std::size_t lf = pending_.find('\n', searched);
        const std::size_t held = lf == std::string::npos ? pending_.size() : lf + 1;
        if (held > MaxLineLength) {
            dropBytes(MaxLineLength + 1);  // the line so far and the byte that overflowed
            return;
        }
        if (lf != std::string::npos) {
            events_.push_back(eventOf(pending_.substr(0, held)));
            pending_.erase(0, held);
            return;
        }
        if (wait == Wait::No || gone() || abandoned()) {
            return;  // a line still being written stays buffered
        }
        searched = pending_.size();
        const std::string chunk = link_.readAvailable(ReadChunk, ByteTimeout);
        if (chunk.empty()) {
            dropBytes(pending_.size());
            return;
        }
        pending_ += chunk;
    }
}

void ComPort::dropBytes(std::size_t count) {
    logStray(std::string_view(pending_).substr(0, count));
    pending_.erase(0, count);
}

}  // namespace kv820
