#pragma once

#include <string>

namespace kv820 {

// How the modem hands over and takes messages: as text ("at+cmgf=1") or, on modems and
// phones that know no text mode, as PDUs in hex ("at+cmgf=0").
enum class MessageMode { Text, Pdu };

// Where a received message lies in the modem: its store ("SM", "ME"; empty for the modem's
// default) and its index there, as the decimal text the commands take.
struct MessagePlace {
    std::string store;
    std::string index;
    bool operator==(const MessagePlace&) const = default;
    auto operator<=>(const MessagePlace&) const = default;
};

}  // namespace kv820
