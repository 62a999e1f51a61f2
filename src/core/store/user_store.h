#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/store/user_registry.h"

namespace kv820 {

class Database;

// The users table, in its stable row order (rowid). Every method throws DatabaseError.
class UserStore {
  public:
    explicit UserStore(Database& db) : db_(db) {}

    // The first `limit` rows. A NULL value stops the reading: the rows before it are
    // returned through `loaded` and the error is thrown.
    std::vector<UserSlot> readUsers(std::size_t limit, std::vector<UserSlot>* loaded = nullptr);
    // Adds a new tracker, or updates name and phone of the first row (in row order, as the
    // registry shows it) that has its IMEI. One transaction.
    void addOrUpdate(const UserSlot& user);
    // Updates name and phone of the first row with the IMEI of a tracker that is already
    // registered. A row deleted meanwhile is a failure (DatabaseError), and nothing is
    // written: the tracker is not added back behind the operator's back.
    void updateRegistered(const UserSlot& user);
    // Deletes the row at 0-based position `index` of the row order; false if there is none.
    bool deleteAt(std::size_t index);

  private:
    // Name and phone of the first row with the user's IMEI; false when there is none.
    bool updateFirstWithImei(const UserSlot& user);

    Database& db_;
};

// Rebuilds the registry from the table. On failure the users read before it are kept in
// the registry and the DatabaseError is thrown.
void LoadUsers(Database& db, UserRegistry& registry);

}  // namespace kv820
