#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace kv820 {

// A raw serial line, as the operating system offers it. Protocol rules (result codes,
// buffering past a reply, announcements) live above it in ComPort, so that every
// implementation (QSerialPort, the test fake) stays a plain byte pipe.
class SerialLink {
  public:
    virtual ~SerialLink() = default;

    // Opens the device with 115200 8N1, no flow control, DTR and RTS held off, a break
    // pulse, and both buffers purged. Line-control failures (a pseudo-terminal has no
    // break, DTR or RTS) are ignored; only a failure to open the device is a failure.
    virtual bool open(const std::string& devicePath) = 0;
    virtual bool isOpen() const = 0;
    virtual void close() = 0;

    // Writes all bytes, bounded by 500 ms. Returns false when the write failed.
    virtual bool write(std::string_view bytes) = 0;

    // Waits up to `timeout` for input and returns what is available, at most maxBytes.
    // Returns an empty text on time-out or on a closed or failed port.
    virtual std::string readAvailable(std::size_t maxBytes, std::chrono::milliseconds timeout) = 0;

    // Sets a break on the line and clears it again. False when the device cannot.
    virtual bool pulseBreak() = 0;

    // True once the device has gone away underneath an open port (USB cable pulled).
    virtual bool vanished() const { return false; }
};

}  // namespace kv820
