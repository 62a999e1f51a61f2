#include "app/setup/registered_users_of.h"

namespace kv820 {

RegisteredUsers RegisteredUsersOf(const UserRegistry& registry) {
    const UserRegistry::Snapshot snapshot = registry.snapshot();
    RegisteredUsers users;
    for (std::size_t i = 0; i < UserRegistry::MaxUsers; ++i) {
        const UserSlot& slot = snapshot.users[i];
        users.entries[i] = {slot.name, slot.phone, slot.imei};
    }
    users.userCount = snapshot.userCount;
    return users;
}

}  // namespace kv820
