#pragma once

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

#include "app/ports/port_devices.h"
#include "sim/modem_simulator.h"
#include "support/qt/scripted_port_devices.h"
#include "support/simulated_modem_link.h"
#include "support/virtual_clock.h"

namespace kv820::test {

// Port devices whose line leads to a simulated modem in this process and whose time is a
// virtual clock: a whole SMS session runs without a terminal and without waiting out its
// pauses. The test changes the modem through `withModem` while the session's thread talks
// to it. Every link the session opens is the one line to the modem, as on a real port.
class SimulatedModemDevices {
  public:
    static constexpr const char* PortEntry = "/dev/kv820-simulated-modem:";

    PortDevices devices() {
        PortDevices devices;
        devices.makeLink = [this] { return std::make_unique<Link>(*this); };
        devices.makeClock = [this] { return std::make_unique<ForwardingClock>(clock_); };
        return devices;
    }
    // Runs `use` on the line to the modem under the lock.
    template <class Use>
    auto onLine(Use use) -> decltype(use(std::declval<SimulatedModemLink&>())) {
        std::lock_guard lock(mutex_);
        return use(line_);
    }
    template <class Change>
    auto withModem(Change change) {
        return onLine([&](SimulatedModemLink& line) { return change(line.modem); });
    }
    int portOpenCount() {
        return onLine([this](auto&) { return openCount_; });
    }
    bool portOpen() {
        return onLine([](SimulatedModemLink& line) { return line.isOpen(); });
    }

  private:
    class Link final : public SerialLink {
      public:
        explicit Link(SimulatedModemDevices& owner) : owner_(owner) {}
        ~Link() override { close(); }
        bool open(const std::string& path) override {
            return owner_.onLine([&](SimulatedModemLink& line) {
                const bool opened = path + ":" == PortEntry && line.open(path);
                owner_.openCount_ += opened ? 1 : 0;
                return opened;
            });
        }
        bool isOpen() const override { return owner_.portOpen(); }
        void close() override {
            owner_.onLine([](SimulatedModemLink& line) { line.close(); });
        }
        bool write(std::string_view bytes) override {
            return owner_.onLine([&](SimulatedModemLink& line) { return line.write(bytes); });
        }
        std::string readAvailable(std::size_t maxBytes,
                                  std::chrono::milliseconds timeout) override {
            const auto read = [&](std::chrono::milliseconds wait) {
                return owner_.onLine(
                    [&](SimulatedModemLink& line) { return line.readAvailable(maxBytes, wait); });
            };
            if (std::string bytes = read({}); !bytes.empty()) {
                return bytes;
            }
            // Nothing came: the thread yields for a moment of real time, so that the test's
            // thread gets the modem; then the read's time-out passes on the virtual clock.
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return read(timeout);
        }
        bool pulseBreak() override { return true; }

      private:
        SimulatedModemDevices& owner_;
    };

    VirtualClock clock_;
    std::mutex mutex_;
    SimulatedModemLink line_{clock_};
    int openCount_ = 0;
};

}  // namespace kv820::test
