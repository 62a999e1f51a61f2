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
// to it. One line is open at a time, as on a real port.
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
        return withModem([this](auto&) { return open_; });
    }

  private:
    class Link final : public SerialLink {
      public:
        explicit Link(SimulatedModemDevices& owner) : owner_(owner) {}
        ~Link() override { close(); }
        bool open(const std::string& path) override {
            return owner_.withModem([&](sim::ModemSimulator& modem) {
                if (path + ":" != PortEntry) {
                    return false;
                }
                owner_.open_ = true;
                ++owner_.openCount_;
                modem.portOpened();
                return true;
            });
        }
        bool isOpen() const override { return owner_.open_; }
        void close() override {
            owner_.withModem([&](sim::ModemSimulator& modem) {
                owner_.open_ = false;
                modem.portClosed();
            });
        }
        bool write(std::string_view bytes) override {
            return owner_.withModem([&](sim::ModemSimulator& modem) {
                input_ += owner_.open_ ? modem.feed(bytes) : std::string();
                return owner_.open_;
            });
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
            return owner_.withModem([&](sim::ModemSimulator& modem) {
                input_ += modem.takeOutput();
                std::string bytes = input_.substr(0, std::min(maxBytes, input_.size()));
                input_.erase(0, bytes.size());
                return bytes;
            });
        }

        SimulatedModemDevices& owner_;
        std::string input_;
    };

    VirtualClock clock_;
    std::mutex mutex_;
    sim::ModemSimulator modem_;
    int openCount_ = 0;
    bool open_ = false;
};

}  // namespace kv820::test
