#include "core/at/modem_line_reader.h"

namespace kv820 {

std::optional<std::string> ModemLineReader::ReadModemLine(
    ComPort& port, const std::function<bool()>& stopRequested) {
    line_.clear();
    while (true) {
        const std::optional<char> byte = port.ReadByte(ByteTimeout);
        if (!byte) {
            return std::nullopt;
        }
        if (line_.size() >= MaxLineLength) {
            return std::nullopt;
        }
        line_.push_back(*byte);
        if (*byte == '\n') {
            return line_;
        }
        if (stopRequested && stopRequested()) {
            return std::nullopt;
        }
    }
}

}  // namespace kv820
