#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/at/modem_event.h"
#include "core/at/modem_reply.h"
#include "core/at/serial_link.h"
#include "core/common/clock.h"

namespace kv820 {

// How long a command's reply may take. Reads where nothing depends on the text keep the
// 500 ms of the original conversations; a SIM can take seconds to read, store or delete a
// message, and sending one waits for the network's answer.
namespace reply_timeout {
inline constexpr std::chrono::milliseconds Quick{500};      // wake, "at", "ati"
inline constexpr std::chrono::milliseconds Setting{2000};   // "at+cmgf", "at+cnmi"
inline constexpr std::chrono::milliseconds Module{10000};   // the tracker's module (set-up)
inline constexpr std::chrono::milliseconds Sim{10000};      // +CMGR, +CMGD, +CMGW, prompts
inline constexpr std::chrono::milliseconds Listing{30000};  // +CMGL of a full SIM
inline constexpr std::chrono::milliseconds Network{60000};  // +CMGS: the message text sent
}  // namespace reply_timeout

// The program's one open port, and the one place where commands meet their replies and
// where what the modem says on its own is sorted out.
//
// Every command is an exchange: before it is written, whatever already waits on the port is
// drained; its reply is read until its own final result code (or "> " prompt) or its
// time-out, and bytes past the final result stay buffered. A command whose reply did not end
// in time leaves the port out of step: the next exchange first waits for that stale reply's
// end, or sends "at" and reads to its own "OK", so that a reply is only ever judged against
// the command that asked for it.
//
// The port completes every line itself and judges it once. An unsolicited line ("+CMTI",
// rings, registration reports) is never part of a reply. A new-SMS announcement goes to the
// port's one queue of events, parsed into the place it names, whether it came between
// exchanges, in a drain or in the middle of a reply; between exchanges every other line
// joins that queue too. Other bytes that belong to no reply go to the stray log. So every
// byte from the modem ends up in exactly one place: a reply, an event, the stray log, or
// the buffer.
class ComPort {
  public:
    // The largest reply taken whole; a longer one without a final result is cut off there.
    static constexpr std::size_t MaxReplyBytes = 65536;
    // How long a resynchronisation waits for a stale reply before it asks with "at".
    static constexpr std::chrono::milliseconds StaleReplyWait{5000};
    // A line between exchanges holds at most this many characters, CR and LF included.
    static constexpr std::size_t MaxLineLength = 511;
    // A line between exchanges waits this long for each of its bytes.
    static constexpr std::chrono::milliseconds ByteTimeout{500};

    ComPort(SerialLink& link, Clock& clock) : link_(link), clock_(clock) {}

    // entry is a "COM Port :" list entry ("ttyUSB0:", "/dev/pts/3:"). "NO" opens nothing.
    bool OpenComPort(const std::string& entry);
    void CloseComPort();
    bool isOpen() const { return link_.isOpen(); }
    // True when the device went away underneath the open port (USB cable pulled), or no
    // port is open: nothing more can be said or heard.
    bool gone() const { return link_.vanished() || !link_.isOpen(); }

    // Writes `text` and its terminator, and reads the reply to it.
    ModemReply exchange(std::string_view command, std::chrono::milliseconds timeout,
                        std::string_view terminator = "\r");
    // After a "> " prompt: writes the message text, Ctrl-Z and CR, and reads the reply,
    // whose information line starts with `answerPrefix` ("+CMGS", "+CMGW"). Without the
    // prompt nothing is written and the reply is empty (FinalResult::None).
    ModemReply exchangeMessageText(std::string_view text, std::string_view answerPrefix,
                                   std::chrono::milliseconds timeout);

    // A write with no reply to wait for (a wake character).
    void SendAtCommand(std::string_view text, std::string_view terminator = "\r");
    // Whatever comes within `timeout`, up to maxBytes: a wake echo, a boot loader's prompt.
    std::string listen(std::size_t maxBytes, std::chrono::milliseconds timeout);
    // Sends the wake character and drops what comes back within 500 ms.
    void WakeModem(char wakeCharacter = '2');

    // Between exchanges, the next event: the oldest queued one (an announcement that came
    // around a reply or in a drain), else the next line the modem sends. Nothing comes when
    // no byte comes for ByteTimeout (the line so far is dropped: what follows starts a new
    // line), when the line grows past MaxLineLength (it is dropped with the byte that
    // overflowed, and the next line starts after that byte), or on a stop (setAbandon),
    // which is seen before every wait for bytes. Dropped bytes go to the stray log. With
    // Wait::No only what the port holds already is handed out: nothing is waited for.
    enum class Wait { ForLine, No };
    std::optional<ModemEvent> nextEvent(Wait wait = Wait::ForLine);

    // Where bytes that belong to no reply go (the modem log); none by default.
    void setStrayLog(std::function<void(std::string_view)> log) { strayLog_ = std::move(log); }
    // Checked while a reply is awaited: once true, the exchange ends at once (the port is
    // then out of step). A session being closed does not wait out a slow modem.
    void setAbandon(std::function<bool()> abandon) { abandon_ = std::move(abandon); }
    bool outOfStep() const { return outOfStep_; }
    bool abandoned() const;

    SerialLink& link() { return link_; }
    Clock& clock() { return clock_; }

  private:
    ModemReply exchange(std::string_view bytes, ReplyAssembler assembler,
                        std::chrono::milliseconds timeout);
    void readInto(ReplyAssembler& assembler, std::chrono::milliseconds timeout);
    void finishReply(ReplyAssembler& assembler, std::chrono::milliseconds timeout);
    bool resynchronise();
    bool awaitStaleReply();
    void drainWaiting(std::chrono::milliseconds quiet);
    // Lines that came during an exchange and belong to no reply: an announcement joins the
    // queue of events, anything else goes to the stray log.
    void keepUnsolicited(ReplyAssembler& assembler);
    void keepUnsolicited(std::string line);
    void completeLine(Wait wait);
    void dropBytes(std::size_t count);
    void logStray(std::string_view bytes);

    SerialLink& link_;
    Clock& clock_;
    std::string pending_;
    std::deque<ModemEvent> events_;
    std::function<void(std::string_view)> strayLog_;
    std::function<bool()> abandon_;
    bool outOfStep_ = false;
    bool silent_ = false;        // the last resynchronisation got no answer at all
    bool awaitingText_ = false;  // a "> " prompt was the last thing the modem said
    std::string staleAnswerPrefix_;
    std::chrono::milliseconds staleTimeout_{0};
};

// The port name of a list entry: the entry without its final ':' ("NO" stays "NO").
std::string portNameFromEntry(std::string_view entry);

}  // namespace kv820
