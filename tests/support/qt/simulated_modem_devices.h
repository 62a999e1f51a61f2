#pragma once

#include <algorithm>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "app/ports/port_devices.h"
#include "sim/modem_simulator.h"
#include "support/qt/scripted_port_devices.h"
#include "support/virtual_clock.h"

namespace kv820::test {

// Port devices whose line leads to a simulated modem in this process and whose time is a
// virtual clock: a whole SMS session runs without a terminal and without waiting out its
// pauses. The test changes the modem through `withModem` while the session's thread talks
// to it.
class SimulatedModemDevices {
  public:
    static constexpr const char* PortEntry = "/dev/kv820-simulated-modem:";

    PortDevices devices() {
        PortDevices devices;
        devices.makeLink = [this] { return std::make_unique<Link>(*this); };
        devices.makeClock = [this] { return std::make_unique<ForwardingClock>(clock_); };
        return devices;
    }
    template <class Change>
    auto withModem(Change change) {
        std::lock_guard lock(mutex_);
        return change(modem_);
    }
    int portOpenCount() {
        return withModem([this](auto&) { return openCount_; });
    }
    bool portOpen() {
        return withModem([this](auto&) { return portOpen_; });
    }

  private:
    class Link final : public SerialLink {
      public:
        explicit Link(SimulatedModemDevices& owner) : owner_(owner) {}
        ~Link() override { close(); }
        bool open(const std::string& path) override {
            std::lock_guard lock(owner_.mutex_);
            open_ = path + ":" == PortEntry;
            if (open_) {
                ++owner_.openCount_;
                owner_.portOpen_ = true;
                owner_.modem_.portOpened();
            }
            return open_;
        }
        bool isOpen() const override { return open_; }
        void close() override {
            std::lock_guard lock(owner_.mutex_);
            if (open_) {
                open_ = false;
                owner_.portOpen_ = false;
                owner_.modem_.portClosed();
            }
        }
        bool write(std::string_view bytes) override {
            std::lock_guard lock(owner_.mutex_);
            input_ += owner_.modem_.feed(bytes);
            return open_;
        }
        std::string readAvailable(std::size_t maxBytes,
                                  std::chrono::milliseconds timeout) override {
            if (std::string bytes = take(maxBytes); !bytes.empty()) {
                return bytes;
            }
            // Nothing came: the read's time-out passes on the virtual clock. The thread
            // yields for a moment of real time, so that the test's thread gets the modem.
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            owner_.clock_.advance(timeout);
            return take(maxBytes);
        }
        bool pulseBreak() override { return true; }

      private:
        std::string take(std::size_t maxBytes) {
            std::lock_guard lock(owner_.mutex_);
            input_ += owner_.modem_.takeOutput();
            const std::size_t count = std::min(maxBytes, input_.size());
            std::string bytes = input_.substr(0, count);
            input_.erase(0, count);
            return bytes;
        }

        SimulatedModemDevices& owner_;
        bool open_ = false;
        std::string input_;
    };

    VirtualClock clock_;
    std::mutex mutex_;
    sim::ModemSimulator modem_;
    int openCount_ = 0;
    bool portOpen_ = false;
};

}  // namespace kv820::test
