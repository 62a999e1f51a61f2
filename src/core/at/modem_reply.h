#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv820 {

// How a command's reply ended.
enum class FinalResult {
    None,      // no final result came (time-out, a closed port, or an overlong reply)
    Ok,        // "OK"
    Error,     // "ERROR"
    CmsError,  // "+CMS ERROR: n"
    CmeError,  // "+CME ERROR: n"
    Prompt,    // the "> " prompt of +CMGS and +CMGW: the modem waits for the message text
};

// One whole line of modem output (its LF seen). `text` is the line proper: without its line
// end and, since an echoed command ends with CR only, without anything up to its last CR.
struct ModemLine {
    std::string_view text;
    std::size_t start = 0;  // offset of `text`
    std::size_t end = 0;    // offset just past the LF
};

// Every whole line of `text`, in order; a last line without its LF is left out.
std::vector<ModemLine> modemLines(std::string_view text);

// The final result a line proper stands for; None for any other line.
FinalResult finalResultOfLine(std::string_view line);

// True for a line proper that opens a stored message ("+CMGR:", "+CMGL:", "^SMGL:"): the
// line after it is the message text, which is never taken for a result code, so that an
// SMS reading "OK" does not end the reply that carries it.
bool isMessageHeaderLine(std::string_view line);

// The answer prefix of an extended command ("at+cmgr=3" gives "+CMGR", "at^smgl" "^SMGL");
// empty for any other command.
std::string answerPrefixOf(std::string_view command);

// The whole reply to one command: what the modem sent for it (echo, information lines and
// the final result code), without announcements and other unsolicited lines.
struct ModemReply {
    std::string text;
    FinalResult result = FinalResult::None;
    std::string resultLine;  // the final result code's line ("+CMS ERROR: 321"), or "> "

    bool complete() const { return result != FinalResult::None; }
    bool ok() const { return result == FinalResult::Ok; }
    bool prompted() const { return result == FinalResult::Prompt; }
    // The modem answered with an error result.
    bool refused() const {
        return result == FinalResult::Error || result == FinalResult::CmsError ||
               result == FinalResult::CmeError;
    }
    bool contains(std::string_view part) const { return text.find(part) != std::string::npos; }
    // True when one of the reply's lines starts with `prefix` ("+CMGR:").
    bool hasLineStartingWith(std::string_view prefix) const {
        return lineAfter(prefix).has_value();
    }
    // What follows `prefix` on the first line that starts with it ("+CPMS:" gives the
    // stores and counts); nothing when no line does.
    std::optional<std::string_view> lineAfter(std::string_view prefix) const;
};

// Assembles one reply from the bytes as they arrive, in pieces of any size: unsolicited
// lines are taken out (in the order they came) and assembling stops at the reply's own
// final result code, or at a "> " prompt that ends the input so far. Bytes past the final
// result are never taken: add() returns how many of its bytes it used.
class ReplyAssembler {
  public:
    // `ownPrefix`: the command's answer prefix (see answerPrefixOf). `promptEnds`: the
    // command asks for message text, so a "> " prompt ends its reply.
    explicit ReplyAssembler(std::string ownPrefix = {}, bool promptEnds = false)
        : ownPrefix_(std::move(ownPrefix)), promptEnds_(promptEnds) {}

    // Takes bytes up to the end of the reply; returns the count taken.
    std::size_t add(std::string_view bytes);
    bool complete() const { return reply_.complete(); }
    const ModemReply& reply() const { return reply_; }
    ModemReply takeReply() { return std::move(reply_); }
    std::vector<std::string> takeUnsolicited();
    // The bytes of a last line still without its LF (they are in the reply text too).
    std::string_view openLine() const;
    // When the reply is given up without a final result: an open line that may be the start
    // of an announcement is given back (it belongs to whoever reads next, and must reach
    // the line reader whole); any other stays in the reply text. Returns what was given back.
    std::string releaseOpenAnnouncement();

  private:
    void walkWholeLines();

    std::string ownPrefix_;
    bool promptEnds_;
    ModemReply reply_;
    std::size_t walked_ = 0;        // the text before this offset is classified
    bool messageTextNext_ = false;  // the next line is a stored message's text
    std::vector<std::string> unsolicited_;
};

}  // namespace kv820
