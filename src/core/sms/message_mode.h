#pragma once

namespace kv820 {

// How the modem hands over and takes messages: as text ("at+cmgf=1") or, on modems and
// phones that know no text mode, as PDUs in hex ("at+cmgf=0").
enum class MessageMode { Text, Pdu };

}  // namespace kv820
