#pragma once

#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv820 {

struct UserSlot {
    std::string name;
    std::string phone;
    std::string imei;

    bool operator==(const UserSlot&) const = default;
};

// The registered trackers, in the stable row order of the users table: five slots, or as
// many as the operator chose for a larger fleet (user_slots.h). It is rebuilt aside and
// swapped in under a lock, so the reception thread always reads a whole registry, never a
// half-loaded one.
class UserRegistry {
  public:
    static constexpr std::size_t MaxUsers = 5;  // the slots unless more were chosen
    static constexpr std::size_t MostUserSlots = 1000;
    static constexpr std::size_t SlotCapacity = 63;  // bytes a slot keeps
    using Slots = std::vector<UserSlot>;

    // A whole registry at one moment; the setup works on one so that it needs no database.
    struct Snapshot {
        Slots users = Slots(MaxUsers);  // every slot, the free ones empty
        int userCount = 0;

        // The first of the loaded slots whose IMEI equals imei exactly; none for no IMEI.
        std::optional<UserSlot> FindUserByImei(std::string_view imei) const;
        bool isFull() const { return userCount >= static_cast<int>(users.size()); }
    };

    // Replaces the registry with `slots` slots (MaxUsers to MostUserSlots); users beyond
    // them are not loaded, and texts longer than a slot are cut to SlotCapacity bytes.
    void replace(std::vector<UserSlot> users, std::size_t slots = MaxUsers);
    Snapshot snapshot() const;
    int userCount() const;

    // The names of every user list: from slot 0 up to the first free slot.
    std::vector<std::string> listNames() const;
    // Exact, case-sensitive; a free slot never matches (not even the empty name).
    std::optional<UserSlot> FindUserByName(std::string_view name) const;
    // Exact match over the used slots; none for no IMEI.
    std::optional<UserSlot> FindUserByImei(std::string_view imei) const;

  private:
    mutable std::mutex mutex_;
    Snapshot current_;
};

// Cuts a text to at most `capacity` bytes without splitting a UTF-8 character.
std::string cutToBytes(std::string_view text, std::size_t capacity);

}  // namespace kv820
