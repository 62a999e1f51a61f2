#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace kv820 {

// The registered users as the setup sees them: the registry's five slots in list order
// and the number of rows loaded. The app fills it from the user registry, so that the
// setup needs no database.
struct RegisteredUsers {
    static constexpr int MaxUsers = 5;

    struct Slot {
        std::string name;
        std::string phone;
        std::string imei;
    };

    std::array<Slot, MaxUsers> entries;
    int userCount = 0;

    // The first of the loaded slots whose IMEI equals imei exactly.
    std::optional<Slot> FindUserByImei(std::string_view imei) const;
    bool IsFull() const { return userCount >= MaxUsers; }
};

}  // namespace kv820
