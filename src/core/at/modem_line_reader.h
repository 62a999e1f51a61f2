#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "core/at/com_port.h"

namespace kv820 {

// One line attempt of the reception loop: bytes are read one at a time until an LF ends
// the line. The attempt gives nothing (and drops what it assembled) when no byte comes
// for 500 ms, when a line grows past 510 characters (the overflowing byte goes with it;
// the next attempt starts a new line with the byte after it), or when `stopRequested`
// turns true between two bytes. A returned line ends with its LF (usually CR LF).
class ModemLineReader {
  public:
    static constexpr std::size_t MaxLineLength = 511;  // characters, CR and LF included
    static constexpr std::chrono::milliseconds ByteTimeout{500};

    std::optional<std::string> ReadModemLine(ComPort& port,
                                             const std::function<bool()>& stopRequested);

  private:
    // Reused from attempt to attempt; only its capacity matters.
    std::string line_;
};

}  // namespace kv820
