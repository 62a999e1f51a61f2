#pragma once

#include <memory>

#include "app/ports/port_devices.h"
#include "support/fake_serial_link.h"
#include "support/virtual_clock.h"

namespace kv820::test {

// The test's clock as a port worker makes and owns it.
class ForwardingClock final : public Clock {
  public:
    explicit ForwardingClock(Clock& target) : target_(target) {}
    std::chrono::milliseconds now() const override { return target_.now(); }
    void sleepFor(std::chrono::milliseconds duration) override { target_.sleepFor(duration); }

  private:
    Clock& target_;
};

// Port devices whose every link is the test's one scripted line on a virtual clock, so
// that a window's conversation runs at once and its bytes can be asserted. The window's
// worker thread uses the line while the test thread waits for the result.
class ScriptedPortDevices {
  public:
    VirtualClock clock;
    FakeSerialLink link{clock};

    PortDevices devices() {
        PortDevices devices;
        devices.makeLink = [this] { return std::make_unique<ForwardingLink>(link); };
        devices.makeClock = [this] { return std::make_unique<ForwardingClock>(clock); };
        return devices;
    }

  private:
    class ForwardingLink final : public SerialLink {
      public:
        explicit ForwardingLink(SerialLink& target) : target_(target) {}
        bool open(const std::string& path) override { return target_.open(path); }
        bool isOpen() const override { return target_.isOpen(); }
        void close() override { target_.close(); }
        bool write(std::string_view bytes) override { return target_.write(bytes); }
        std::string readAvailable(std::size_t maxBytes,
                                  std::chrono::milliseconds timeout) override {
            return target_.readAvailable(maxBytes, timeout);
        }
        bool pulseBreak() override { return target_.pulseBreak(); }

      private:
        SerialLink& target_;
    };
};

}  // namespace kv820::test
