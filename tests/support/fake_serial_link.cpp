#include "support/fake_serial_link.h"

#include <algorithm>

namespace kv820::test {

void FakeSerialLink::replyTo(std::string written, std::string reply, int times) {
    rules_.push_back({std::move(written), std::move(reply), times == 0 ? -1 : times});
}

void FakeSerialLink::feedAfter(std::chrono::milliseconds delay, std::string bytes) {
    timed_.push_back({clock_.now() + delay, std::move(bytes)});
    std::stable_sort(timed_.begin(), timed_.end(),
                     [](const Timed& a, const Timed& b) { return a.at < b.at; });
}

bool FakeSerialLink::open(const std::string& devicePath) {
    openedPaths.push_back(devicePath);
    open_ = openSucceeds;
    return open_;
}

void FakeSerialLink::close() {
    if (open_) {
        ++closeCount;
    }
    open_ = false;
}

bool FakeSerialLink::write(std::string_view bytes) {
    if (!open_ || vanished_) {
        return false;
    }
    writes.emplace_back(bytes);
    for (Rule& rule : rules_) {
        if (rule.timesLeft != 0 && rule.written == bytes) {
            input_ += rule.reply;
            if (rule.timesLeft > 0) {
                --rule.timesLeft;
            }
            break;
        }
    }
    if (onWrite) {
        onWrite(*this, bytes);
    }
    return true;
}

void FakeSerialLink::releaseDue() {
    while (!timed_.empty() && timed_.front().at <= clock_.now()) {
        input_ += timed_.front().bytes;
        timed_.pop_front();
    }
}

std::string FakeSerialLink::readAvailable(std::size_t maxBytes, std::chrono::milliseconds timeout) {
    if (!open_ || vanished_) {
        clock_.advance(timeout);
        return {};
    }
    releaseDue();
    if (input_.empty()) {
        const auto deadline = clock_.now() + timeout;
        if (!timed_.empty() && timed_.front().at <= deadline) {
            clock_.advance(timed_.front().at - clock_.now());
            releaseDue();
        } else {
            clock_.advance(timeout);
            return {};
        }
    }
    const std::size_t n = std::min(maxBytes, input_.size());
    std::string out = input_.substr(0, n);
    input_.erase(0, n);
    return out;
}

}  // namespace kv820::test
