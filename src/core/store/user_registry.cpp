#include "core/store/user_registry.h"

#include <algorithm>

namespace kv820 {

std::string cutToBytes(std::string_view text, std::size_t capacity) {
    if (text.size() <= capacity) {
        return std::string(text);
    }
    std::size_t end = capacity;
    // Step back over continuation bytes (10xxxxxx) to the start of the cut character.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        --end;
    }
    return std::string(text.substr(0, end));
}

void UserRegistry::replace(std::vector<UserSlot> users, std::size_t slots) {
    Snapshot fresh;
    fresh.users.resize(std::clamp(slots, MaxUsers, MostUserSlots));
    for (std::size_t i = 0; i < users.size() && i < fresh.users.size(); ++i) {
        fresh.users[i] = {cutToBytes(users[i].name, SlotCapacity),
                          cutToBytes(users[i].phone, SlotCapacity),
                          cutToBytes(users[i].imei, SlotCapacity)};
        ++fresh.userCount;
    }
    std::lock_guard lock(mutex_);
    current_ = std::move(fresh);
}

UserRegistry::Snapshot UserRegistry::snapshot() const {
    std::lock_guard lock(mutex_);
    return current_;
}

int UserRegistry::userCount() const {
    std::lock_guard lock(mutex_);
    return current_.userCount;
}

std::vector<std::string> UserRegistry::listNames() const {
    const Snapshot s = snapshot();
    std::vector<std::string> names;
    for (const UserSlot& slot : s.users) {
        if (slot.name.empty()) {
            break;
        }
        names.push_back(slot.name);
    }
    return names;
}

std::optional<UserSlot> UserRegistry::FindUserByName(std::string_view name) const {
    const Snapshot s = snapshot();
    for (int i = 0; i < s.userCount; ++i) {
        if (!s.users[i].name.empty() && s.users[i].name == name) {
            return s.users[i];
        }
    }
    return std::nullopt;
}

std::optional<UserSlot> UserRegistry::Snapshot::FindUserByImei(std::string_view imei) const {
    if (imei.empty()) {
        return std::nullopt;  // an unknown tracker's report, never a user without an IMEI
    }
    const int loaded = std::clamp(userCount, 0, static_cast<int>(users.size()));
    for (int i = 0; i < loaded; ++i) {
        if (users[i].imei == imei) {
            return users[i];
        }
    }
    return std::nullopt;
}

std::optional<UserSlot> UserRegistry::FindUserByImei(std::string_view imei) const {
    return snapshot().FindUserByImei(imei);
}

}  // namespace kv820
