#include "core/store/user_registry.h"

#include <gtest/gtest.h>

#include "core/store/database.h"
#include "core/store/database_error.h"
#include "core/store/user_store.h"
#include "support/store_engines.h"

namespace kv820 {
namespace {

class UserRegistryTest : public testing::TestWithParam<test::Engine> {
  protected:
    UserRegistryTest() : store_(GetParam()), db_(std::make_unique<Database>(store_.location())) {}
    void addRow(const std::string& values) {
        db_->execute("INSERT INTO users (name, phone, imei) VALUES (" + values + ")");
    }

    test::TempStore store_;
    std::unique_ptr<Database> db_;
    UserRegistry registry_;
};

KV820_ON_EVERY_ENGINE(UserRegistryTest);

TEST_P(UserRegistryTest, KeepsTheFirstFiveRowsInRowOrder) {
    LoadUsers(*db_, registry_);
    EXPECT_EQ(registry_.userCount(), 0);
    for (int i = 1; i <= 7; ++i) {
        const std::string n = std::to_string(i);
        addRow("'user" + n + "', '09" + n + "', '35000000000000" + n + "'");
    }
    LoadUsers(*db_, registry_);
    EXPECT_EQ(registry_.userCount(), 5);
    EXPECT_EQ(registry_.listNames(),
              (std::vector<std::string>{"user1", "user2", "user3", "user4", "user5"}));
    EXPECT_FALSE(registry_.FindUserByName("user6"));
    EXPECT_FALSE(registry_.FindUserByName("User1")) << "names are compared exactly";
    EXPECT_EQ(registry_.FindUserByImei("350000000000003")->name, "user3");
    // A free slot has an empty name, but it never stands for a user.
    registry_.replace({});
    EXPECT_FALSE(registry_.FindUserByName(""));
    EXPECT_FALSE(registry_.FindUserByImei(""));
}

TEST_P(UserRegistryTest, LongValuesAreCutToSixtyThreeBytesOnACharacterBoundary) {
    const std::string ascii(80, 'a');
    std::string utf8;
    for (int i = 0; i < 40; ++i) {
        utf8 += "\xC3\xA9";  // é, two bytes
    }
    addRow("'" + ascii + "', '" + utf8 + "', '354612071234567'");
    LoadUsers(*db_, registry_);
    const UserSlot slot = registry_.snapshot().users[0];
    EXPECT_EQ(slot.name, std::string(63, 'a'));
    EXPECT_EQ(slot.phone, utf8.substr(0, 62));
}

TEST_P(UserRegistryTest, ANullValueStopsLoadingAndKeepsTheRowsBefore) {
    addRow("'first', '0911', '350000000000001'");
    addRow("'second', NULL, '350000000000002'");
    addRow("'third', '0933', '350000000000003'");
    EXPECT_THROW(LoadUsers(*db_, registry_), DatabaseError);
    EXPECT_EQ(registry_.listNames(), std::vector<std::string>{"first"});
}

TEST_P(UserRegistryTest, AddOrUpdateKeysOnTheImeiAndDeleteGoesByPosition) {
    UserStore store(*db_);
    store.addOrUpdate({"a", "0911", "350000000000001"});
    store.addOrUpdate({"b", "0922", "350000000000002"});
    store.addOrUpdate({"c", "0933", "350000000000003"});
    store.addOrUpdate({"B", "0999", "350000000000002"});
    LoadUsers(*db_, registry_);
    EXPECT_EQ(registry_.listNames(), (std::vector<std::string>{"a", "B", "c"}));
    EXPECT_TRUE(store.deleteAt(1));
    EXPECT_FALSE(store.deleteAt(2));
    LoadUsers(*db_, registry_);
    EXPECT_EQ(registry_.listNames(), (std::vector<std::string>{"a", "c"}));
}

// Rows that share an IMEI: the registry shows the first (row order); only that one is
// the tracker's, and only that one changes. A registered tracker whose row was deleted
// meanwhile is not added back as a new user.
TEST_P(UserRegistryTest, RegistrationUpdatesOnlyTheFirstRowWithTheImei) {
    addRow("'a', '0911', '350000000000001'");
    addRow("'twin', '0922', '350000000000001'");
    UserStore store(*db_);
    store.addOrUpdate({"A", "0999", "350000000000001"});
    store.updateRegistered({"AA", "0988", "350000000000001"});
    EXPECT_THROW(store.updateRegistered({"b", "0922", "350000000000002"}), DatabaseError);
    LoadUsers(*db_, registry_);
    EXPECT_EQ(registry_.listNames(), (std::vector<std::string>{"AA", "twin"}));
    EXPECT_EQ(registry_.FindUserByName("twin")->phone, "0922");
}

TEST_P(UserRegistryTest, AMissingTableFailsTheLoadAndEmptiesTheRegistry) {
    registry_.replace({{"old", "1", "2"}});
    db_->execute("DROP TABLE users");
    EXPECT_THROW(LoadUsers(*db_, registry_), DatabaseError);
    EXPECT_EQ(registry_.userCount(), 0);
}

}  // namespace
}  // namespace kv820
