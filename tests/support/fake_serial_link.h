#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/at/serial_link.h"
#include "support/virtual_clock.h"

namespace kv820::test {

// A scripted serial line on a virtual clock. Replies are bound to exact writes; input
// can also be fed directly. Every write is recorded, so tests assert the exact bytes.
// A read that finds no input waits out its whole time-out on the virtual clock.
class FakeSerialLink final : public SerialLink {
  public:
    explicit FakeSerialLink(VirtualClock& clock) : clock_(clock) {}

    // When `written` is written, `reply` becomes available to read. Rules are used in
    // the order they were added; a rule with times == 0 answers every time.
    void replyTo(std::string written, std::string reply, int times = 1);
    // Forgets every reply rule (a test that scripts the modem anew).
    void forgetReplies() { rules_.clear(); }
    // Input that arrives on its own (an announcement, a late reply).
    void feed(std::string_view bytes) { input_.append(bytes); }
    // Input that becomes available only after `delay` of virtual time.
    void feedAfter(std::chrono::milliseconds delay, std::string bytes);
    // Called on every write after the rules, for replies computed from the text.
    std::function<void(FakeSerialLink&, std::string_view)> onWrite;

    bool open(const std::string& devicePath) override;
    bool isOpen() const override { return open_; }
    void close() override;
    bool write(std::string_view bytes) override;
    std::string readAvailable(std::size_t maxBytes, std::chrono::milliseconds timeout) override;
    bool pulseBreak() override { return true; }
    bool vanished() const override { return vanished_; }
    void vanish() { vanished_ = true; }
    // The device is plugged in again: the next open works.
    void reappear() { vanished_ = false; }
    bool openSucceeds = true;
    std::vector<std::string> writes;
    std::vector<std::string> openedPaths;
    int closeCount = 0;

  private:
    struct Rule {
        std::string written;
        std::string reply;
        int timesLeft;
    };
    struct Timed {
        std::chrono::milliseconds at;
        std::string bytes;
    };
    void releaseDue();

    VirtualClock& clock_;
    bool open_ = false;
    bool vanished_ = false;
    std::string input_;
    std::vector<Rule> rules_;
    std::deque<Timed> timed_;
};

}  // namespace kv820::test
