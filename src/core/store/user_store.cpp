#include "core/store/user_store.h"

#include "core/store/user_slots.h"

#include "core/store/database.h"
#include "core/store/database_error.h"
#include "core/store/statement.h"
#include "core/store/store_channels.h"
#include "core/store/transaction.h"

namespace kv820 {

std::vector<UserSlot> UserStore::readUsers(std::size_t limit, std::vector<UserSlot>* loaded) {
    std::vector<UserSlot> local;
    std::vector<UserSlot>& users = loaded ? *loaded : local;
    users.clear();
    Statement query(db_, "SELECT name, phone, imei FROM users ORDER BY rowid LIMIT ?1");
    query.bind(1, static_cast<std::int64_t>(limit));
    while (query.step()) {
        auto name = query.text(0);
        auto phone = query.text(1);
        auto imei = query.text(2);
        if (!name || !phone || !imei) {
            throw DatabaseError("a users row holds a NULL value");
        }
        users.push_back({std::move(*name), std::move(*phone), std::move(*imei)});
    }
    return users;
}

void UserStore::addOrUpdate(const UserSlot& user) {
    Transaction transaction(db_);
    if (!updateFirstWithImei(user)) {
        Statement insert(db_, "INSERT INTO users (name, phone, imei) VALUES (?1, ?2, ?3)");
        insert.bind(1, user.name).bind(2, user.phone).bind(3, user.imei).run();
    }
    db_.notify(UsersChannel);
    transaction.commit();
}

void UserStore::updateRegistered(const UserSlot& user) {
    Transaction transaction(db_);
    if (!updateFirstWithImei(user)) {
        throw DatabaseError("the registered user's row is gone");
    }
    db_.notify(UsersChannel);
    transaction.commit();
}

bool UserStore::updateFirstWithImei(const UserSlot& user) {
    Statement update(db_,
                     "UPDATE users SET name=?1, phone=?2 WHERE rowid = "
                     "(SELECT rowid FROM users WHERE imei=?3 ORDER BY rowid LIMIT 1)");
    update.bind(1, user.name).bind(2, user.phone).bind(3, user.imei).run();
    return db_.changes() > 0;
}

bool UserStore::deleteAt(std::size_t index) {
    Statement remove(db_,
                     "DELETE FROM users WHERE rowid = "
                     "(SELECT rowid FROM users ORDER BY rowid LIMIT 1 OFFSET ?1)");
    remove.bind(1, static_cast<std::int64_t>(index)).run();
    const bool removed = db_.changes() > 0;
    if (removed) {
        db_.notify(UsersChannel);
    }
    return removed;
}

void LoadUsers(Database& db, UserRegistry& registry) {
    std::vector<UserSlot> users;
    std::size_t slots = UserRegistry::MaxUsers;
    try {
        slots = storedUserSlots(db);
        UserStore(db).readUsers(slots, &users);
    } catch (const DatabaseError&) {
        registry.replace(std::move(users), slots);
        throw;
    }
    registry.replace(std::move(users), slots);
}

}  // namespace kv820
