#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kv820 {

// Where a received message lies in the modem: its store ("SM", "ME"; empty for the modem's
// default) and its index there. The index stays a number until a command's text is made.
struct MessagePlace {
    std::string store;
    int index = 0;
    bool operator==(const MessagePlace&) const = default;
    auto operator<=>(const MessagePlace&) const = default;
};

// Something the modem said on its own, as the port hands it out between exchanges: one line
// with its line end and, when it announces a newly stored SMS, the place it names.
struct ModemEvent {
    std::string line;
    std::optional<MessagePlace> announced;
    bool operator==(const ModemEvent&) const = default;
};

// The one test for a new-SMS announcement: a line proper (see ModemLine) holding "+CMTI".
// The place it names: the index is the number twelve characters after the start of "+CMTI"
// (past the colon, a blank, a two-letter store in quotes and the comma), 0 when there is
// none, held to the int range; the store is the first name in quotes when it is two capital
// letters, else empty (the store in use: a name garbled on the wire must not go into
// "at+cpms="). Nothing for any other line.
std::optional<MessagePlace> newSmsAnnouncementPlace(std::string_view line);

// True for a line proper a modem sends on its own, whatever command is under way: new-SMS
// announcements, rings, registration and status reports. A command's own answer is never
// unsolicited: `ownPrefix` ("+CREG" for "at+creg?") excludes it.
bool isUnsolicitedLine(std::string_view line, std::string_view ownPrefix);

// Where an announcement may have begun in `open`, a line still without its end: at its
// first "+" when "+CMTI" follows, or a start of it cut by a read ("+CM"); npos otherwise.
std::size_t openAnnouncementStart(std::string_view open);

}  // namespace kv820
