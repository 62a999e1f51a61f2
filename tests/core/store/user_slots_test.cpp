#include "core/store/user_slots.h"

#include <gtest/gtest.h>

#include <string>

#include "core/setup/connect_tracker.h"
#include "core/store/database.h"
#include "core/store/statement.h"
#include "core/store/user_registry.h"
#include "core/store/user_store.h"
#include "support/store_engines.h"

namespace kv820 {
namespace {

UserSlot trackerNumber(int n) {
    const std::string digits = std::to_string(n);
    return {"car" + digits, "09" + digits,
            "3546120700" + std::string(5 - digits.size(), '0') + digits};
}

class UserSlotsTest : public testing::TestWithParam<test::Engine> {
  protected:
    test::TempStore store_{GetParam()};
};

KV820_ON_EVERY_ENGINE(UserSlotsTest);

// The number of slots as stored, read back within its bounds; a store that never had it,
// or one edited into nonsense, has five.
TEST_P(UserSlotsTest, TheStoredNumberIsReadWithinItsBounds) {
    Database db(store_.location());
    EXPECT_EQ(storedUserSlots(db), UserRegistry::MaxUsers);
    const std::pair<const char*, std::size_t> stored[] = {
        {"20", 20}, {"1000", 1000}, {"5000", 1000}, {"2", 5}, {"-3", 5}, {"many", 5}, {"", 5},
    };
    storeUserSlots(db, 20);
    for (const auto& [text, slots] : stored) {
        Statement(db, "UPDATE program_settings SET value = ?1").bind(1, text).run();
        EXPECT_EQ(storedUserSlots(db), slots) << text;
    }
}

// Twenty slots: twenty trackers of twenty-five rows are loaded and found, the registry is
// full, and the setup's refusal names the number; five slots keep the five-user rules.
TEST_P(UserSlotsTest, ALargerFleetIsLoadedUpToItsSlots) {
    Database db(store_.location());
    for (int n = 1; n <= 25; ++n) {
        UserStore(db).addOrUpdate(trackerNumber(n));
    }
    for (const std::size_t slots : {std::size_t{5}, std::size_t{20}}) {
        storeUserSlots(db, slots);
        UserRegistry registry;
        LoadUsers(db, registry);
        const UserRegistry::Snapshot users = registry.snapshot();
        EXPECT_EQ(users.users.size(), slots);
        EXPECT_EQ(registry.listNames().size(), slots);
        EXPECT_TRUE(users.isFull());
        const int last = static_cast<int>(slots);
        EXPECT_EQ(registry.FindUserByImei(trackerNumber(last).imei), trackerNumber(last));
        EXPECT_FALSE(registry.FindUserByImei(trackerNumber(last + 1).imei));
        EXPECT_EQ(connectOutcomeMessage(ConnectOutcome::UserLimitReached, users.users.size()),
                  slots == 5 ? "Five users login already, please delete one."
                             : "20 users login already, please delete one.");
    }
}

}  // namespace
}  // namespace kv820
