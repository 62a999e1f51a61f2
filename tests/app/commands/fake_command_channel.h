#pragma once

#include <QString>
#include <utility>
#include <vector>

#include "app/commands/command_channel.h"

namespace kv820::test {

// A session that records what it is asked to send. It confirms nothing by itself: a test
// emits commandSent() when the send is meant to be over.
class FakeCommandChannel final : public CommandChannel {
  public:
    bool sessionActive() const override { return active_; }

    bool sendCommand(const QString& phone, const QString& text) override {
        if (!active_ || refuseSends) {
            return false;
        }
        sent.emplace_back(phone, text);
        return true;
    }

    // Opens or closes the session and says so, as the real session does.
    void setActive(bool active) {
        active_ = active;
        emit sessionActiveChanged(active);
    }

    // The session ends without the announcement having reached the pages yet.
    void closeWithoutNotice() { active_ = false; }

    std::vector<std::pair<QString, QString>> sent;  // (phone, text) in order
    bool refuseSends = false;  // the session closed just as the send was handed over

  private:
    bool active_ = false;
};

}  // namespace kv820::test
