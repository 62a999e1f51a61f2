#pragma once

#include <algorithm>

#include "core/at/serial_link.h"
#include "support/virtual_clock.h"

namespace kv820::fuzz {

// A serial line that plays a fixed byte stream: each read hands out at most `chunkSize`
// bytes (the driver's pieces), and once the stream is spent every read waits out its whole
// time-out on the virtual clock and returns nothing, as a silent modem does.
class InputSerialLink final : public SerialLink {
  public:
    InputSerialLink(test::VirtualClock& clock, std::string_view input, std::size_t chunkSize)
        : clock_(clock), input_(input), chunkSize_(std::max<std::size_t>(chunkSize, 1)) {}

    bool open(const std::string&) override { return true; }
    bool isOpen() const override { return true; }
    void close() override {}
    bool write(std::string_view) override { return true; }
    bool pulseBreak() override { return true; }

    std::string readAvailable(std::size_t maxBytes, std::chrono::milliseconds timeout) override {
        const std::size_t count = std::min({maxBytes, chunkSize_, input_.size()});
        if (count == 0) {
            clock_.advance(timeout);
        }
        std::string bytes(input_.substr(0, count));
        input_.remove_prefix(count);
        return bytes;
    }

    std::size_t unread() const { return input_.size(); }

  private:
    test::VirtualClock& clock_;
    std::string_view input_;
    std::size_t chunkSize_;
};

}  // namespace kv820::fuzz
