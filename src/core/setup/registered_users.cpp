#include "core/setup/registered_users.h"

#include <algorithm>

namespace kv820 {

std::optional<RegisteredUsers::Slot> RegisteredUsers::FindUserByImei(std::string_view imei) const {
    const int loaded = std::clamp(userCount, 0, MaxUsers);
    for (int i = 0; i < loaded; ++i) {
        if (entries[i].imei == imei) {
            return entries[i];
        }
    }
    return std::nullopt;
}

}  // namespace kv820
