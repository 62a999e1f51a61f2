#include "sim/message_store.h"

namespace kv820::sim {

std::optional<int> MessageStore::add(StoredMessage message) {
    for (int index = 1; inRange(index); ++index) {
        if (slots_.find(index) == slots_.end()) {
            message.index = index;
            slots_.emplace(index, std::move(message));
            return index;
        }
    }
    return std::nullopt;
}

StoredMessage* MessageStore::find(int index) {
    auto slot = slots_.find(index);
    return slot == slots_.end() ? nullptr : &slot->second;
}

const StoredMessage* MessageStore::find(int index) const {
    auto slot = slots_.find(index);
    return slot == slots_.end() ? nullptr : &slot->second;
}

bool MessageStore::remove(int index) {
    return slots_.erase(index) > 0;
}

std::vector<StoredMessage> MessageStore::list(std::optional<MessageStatus> status) const {
    std::vector<StoredMessage> messages;
    for (const auto& [index, message] : slots_) {
        if (!status || message.status == *status) {
            messages.push_back(message);
        }
    }
    return messages;
}

}  // namespace kv820::sim
