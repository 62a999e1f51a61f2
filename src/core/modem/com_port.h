#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "core/common/clock.h"
#include "core/modem/serial_link.h"

namespace kv820 {

// The program's one open port and the small operations every device conversation is made
// of. Reads end at the byte count, at a final result code or prompt, or after 500 ms;
// bytes that arrive after a final result code stay buffered for the next reader, and
// "+CMTI" announcements found inside a reply are kept aside for the line reader.
class ComPort {
  public:
    static constexpr std::chrono::milliseconds ReadTimeout{500};

    ComPort(SerialLink& link, Clock& clock) : link_(link), clock_(clock) {}

    // entry is a "COM Port :" list entry ("ttyUSB0:", "/dev/pts/3:"). "NO" opens nothing.
    bool OpenComPort(const std::string& entry);
    void CloseComPort();
    bool isOpen() const { return link_.isOpen(); }

    void SendAtCommand(std::string_view text, std::string_view terminator = "\r");
    std::string ReadModemReply(std::size_t size);
    // Sends the wake character, reads and drops up to 128 bytes, then waits.
    void WakeModem(std::chrono::milliseconds wait, char wakeCharacter = '2');

    // One byte for the line reader: buffered bytes first, then the line.
    std::optional<char> ReadByte(std::chrono::milliseconds timeout);
    // An announcement line (with its CR LF) that turned up inside a reply, oldest first.
    std::optional<std::string> TakeAnnouncement();

    SerialLink& link() { return link_; }
    Clock& clock() { return clock_; }

  private:
    void keepAnnouncements(std::string& reply);
    void keepPartialAnnouncement(std::string& reply);

    SerialLink& link_;
    Clock& clock_;
    std::string pending_;
    std::deque<std::string> announcements_;
};

// The port name of a list entry: the entry without its final ':' ("NO" stays "NO").
std::string PortNameFromEntry(std::string_view entry);

// True when the two letters "OK" occur anywhere in the reply.
bool ReplyHasOk(std::string_view reply);

// Length of the text up to and including its first final result code line ("OK",
// "ERROR", "+CMS ERROR: n", "+CME ERROR: n") or "> " prompt; npos when there is none yet.
std::size_t FinalResultEnd(std::string_view text);

}  // namespace kv820
