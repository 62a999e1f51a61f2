#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/at/serial_link.h"
#include "sim/modem_simulator.h"
#include "sim/reply_schedule.h"
#include "support/virtual_clock.h"

namespace kv820::test {

// The simulated modem in this process behind a serial line on a virtual clock: a whole
// session runs on one thread, without a terminal and without waiting. As on the simulator's
// pseudo-terminal, a command's echo is there at once and its answer after the command's
// reply delay (`replies`), "+CMTI" as soon as the modem queues it. A read that finds
// nothing waits on the virtual clock until the next answer is due or its time-out is over.
class SimulatedModemLink final : public SerialLink {
  public:
    using Milliseconds = std::chrono::milliseconds;

    explicit SimulatedModemLink(VirtualClock& clock,
                                std::size_t capacity = sim::ModemSimulator::DefaultCapacity)
        : modem(capacity), clock_(clock) {}

    bool open(const std::string&) override {
        act();
        if (vanished_) {
            return false;
        }
        open_ = true;
        modem.portOpened();
        modem.takeOutput();  // what it said while nobody listened is lost, as on a line
        return true;
    }
    bool isOpen() const override { return open_; }
    void close() override {
        if (open_) {
            modem.portClosed();
        }
        open_ = false;
        pending_.clear();  // what was on its way belonged to that opening
        replies.forgetPending();
    }
    bool write(std::string_view bytes) override {
        writing = bytes;
        act();
        writing = {};
        if (!open_ || vanished_) {
            return false;
        }
        ++writes;
        const auto now = moment(clock_.now());
        for (const char byte : bytes) {
            queue(now, modem.takeOutput());  // what was queued before belongs to no command
            std::string output = modem.feed(std::string_view(&byte, 1));
            if (const auto command = modem.takeReceivedCommand()) {
                const auto due = replies.scheduleCommand(command->line, now);
                queue(due.echo, output.substr(0, command->answerStart));
                queue(due.answer, output.substr(command->answerStart));
            } else {
                queue(replies.scheduleAnswer(now), std::move(output));
            }
        }
        return true;
    }
    std::string readAvailable(std::size_t maxBytes, Milliseconds timeout) override {
        act();
        if (open_ && !vanished_) {
            queue(moment(clock_.now()), modem.takeOutput());
            takeDue();
            if (const auto next = nextDue();
                input_.empty() && next && *next <= clock_.now() + timeout) {
                clock_.advance(*next - clock_.now());
                takeDue();
            }
        }
        if (input_.empty()) {
            clock_.advance(timeout);
            return {};
        }
        std::string bytes = input_.substr(0, maxBytes);
        input_.erase(0, bytes.size());
        return bytes;
    }
    bool pulseBreak() override { return true; }
    bool vanished() const override { return vanished_; }

    // The modem is pulled out: from now on the line neither writes nor reads nor opens.
    void vanish() {
        vanished_ = true;
        pending_.clear();
        input_.clear();
    }
    // Plugged in again: the next open works.
    void reappear() { vanished_ = false; }

    sim::ModemSimulator modem;
    sim::ReplySchedule replies;
    // Called first in every open, write and read: a test acts here on what it waits for.
    std::function<void()> onActivity;
    // The bytes of the write that calls onActivity, before the modem has them.
    std::string_view writing;
    long writes = 0;

  private:
    using Moment = sim::ReplySchedule::Moment;
    struct Pending {
        Moment due;
        std::string bytes;
    };

    static Moment moment(Milliseconds virtualTime) { return Moment{} + virtualTime; }
    void act() {
        if (onActivity) {
            onActivity();
        }
    }
    void queue(Moment due, std::string bytes) {
        if (!bytes.empty()) {
            pending_.push_back({due, std::move(bytes)});
        }
    }
    // Moves what is due to the input in the order it was queued: an answer held back lets
    // announcements behind it pass.
    void takeDue() {
        const Moment now = moment(clock_.now());
        std::vector<Pending> later;
        for (Pending& p : pending_) {
            if (p.due <= now) {
                input_ += p.bytes;
            } else {
                later.push_back(std::move(p));
            }
        }
        pending_ = std::move(later);
    }
    std::optional<Milliseconds> nextDue() const {
        if (pending_.empty()) {
            return std::nullopt;
        }
        const auto first = std::min_element(pending_.begin(), pending_.end(),
                                            [](auto& a, auto& b) { return a.due < b.due; });
        return std::chrono::duration_cast<Milliseconds>(first->due - Moment{});
    }

    VirtualClock& clock_;
    bool open_ = false;
    bool vanished_ = false;
    std::string input_;
    std::vector<Pending> pending_;
};

}  // namespace kv820::test
