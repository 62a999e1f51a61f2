#include "core/store/user_slots.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "core/common/number_text.h"
#include "core/store/database.h"
#include "core/store/statement.h"
#include "core/store/store_channels.h"
#include "core/store/user_registry.h"

namespace kv820 {

namespace {

constexpr const char* SlotsSetting = "user_slots";
constexpr const char* ProgramSettingsTableSql =
    "CREATE TABLE IF NOT EXISTS program_settings (name TEXT PRIMARY KEY, value TEXT NOT NULL)";

std::size_t withinBounds(long long slots) {
    return static_cast<std::size_t>(
        std::clamp<long long>(slots, UserRegistry::MaxUsers, UserRegistry::MostUserSlots));
}

}  // namespace

std::size_t storedUserSlots(Database& db) {
    if (!db.hasTable("program_settings")) {
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

void ensureProgramSettingsTable(Database& db) {
    db.execute(db.schemaSql(ProgramSettingsTableSql));
}

void storeUserSlots(Database& db, std::size_t slots) {
    ensureProgramSettingsTable(db);
    Statement save(db,
                   "INSERT INTO program_settings (name, value) VALUES (?1, ?2) ON CONFLICT "
                   "(name) DO UPDATE SET value = excluded.value");
    save.bind(1, SlotsSetting).bind(2, std::to_string(withinBounds(static_cast<long long>(slots))));
    save.run();
    db.notify(UsersChannel);
}

}  // namespace kv820
