#include "core/store/user_slots.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "core/common/number_text.h"
#include "core/store/database.h"
#include "core/store/statement.h"
#include "core/store/user_registry.h"

namespace kv820 {

namespace {

constexpr const char* SlotsSetting = "user_slots";

bool hasSettingsTable(Database& db) {
    Statement query(db,
                    "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name = "
                    "'program_settings'");
    return query.step() && query.integer(0) == 1;
}

std::size_t withinBounds(long long slots) {
    return static_cast<std::size_t>(
        std::clamp<long long>(slots, UserRegistry::MaxUsers, UserRegistry::MostUserSlots));
}

}  // namespace

std::size_t storedUserSlots(Database& db) {
    if (!hasSettingsTable(db)) {
        return UserRegistry::MaxUsers;
    }
    Statement query(db, "SELECT value FROM program_settings WHERE name = ?1");
    query.bind(1, SlotsSetting);
    if (!query.step()) {
        return UserRegistry::MaxUsers;
    }
    const std::optional<std::int32_t> slots = leadingInt32(query.text(0).value_or(""));
    return slots ? withinBounds(*slots) : UserRegistry::MaxUsers;
}

void storeUserSlots(Database& db, std::size_t slots) {
    db.execute(
        "CREATE TABLE IF NOT EXISTS program_settings (name TEXT PRIMARY KEY, value TEXT NOT "
        "NULL)");
    Statement save(db, "INSERT OR REPLACE INTO program_settings (name, value) VALUES (?1, ?2)");
    save.bind(1, SlotsSetting).bind(2, std::to_string(withinBounds(static_cast<long long>(slots))));
    save.run();
}

}  // namespace kv820
