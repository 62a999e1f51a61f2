#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "sim/stored_message.h"

namespace kv820::sim {

// A message memory with numbered slots 1..capacity, as a SIM or a module holds it. A new
// message takes the lowest free slot, so deleted indexes are reused like on real devices.
class MessageStore {
  public:
    explicit MessageStore(std::size_t capacity) : capacity_(capacity) {}

    // Stores the message in the lowest free slot and returns that index; nullopt when full.
    std::optional<int> add(StoredMessage message);
    bool inRange(int index) const { return index >= 1 && index <= static_cast<int>(capacity_); }
    StoredMessage* find(int index);
    const StoredMessage* find(int index) const;
    bool remove(int index);
    void clear() { slots_.clear(); }

    // Messages in index order; with a status, only those of that status.
    std::vector<StoredMessage> list(std::optional<MessageStatus> status = std::nullopt) const;
    std::size_t size() const { return slots_.size(); }
    std::size_t capacity() const { return capacity_; }

  private:
    std::size_t capacity_;
    std::map<int, StoredMessage> slots_;
};

}  // namespace kv820::sim
