#include "core/store/database.h"

#include <gtest/gtest.h>

#include <fstream>

#include "core/store/database_error.h"
#include "core/store/schema.h"
#include "core/store/statement.h"
#include "support/temp_dir.h"

namespace kv820 {
namespace {

TEST(Database, NeverCreatesTheFileWhenOpeningAndRefusesAFileThatIsNotADatabase) {
    test::TempDir dir;
    const std::string path = dir.file(DatabaseFileName);
    EXPECT_THROW(Database db(path), DatabaseError);
    EXPECT_FALSE(std::filesystem::exists(path));
    std::ofstream(path) << "Standard Jet DB, not SQLite";
    EXPECT_THROW(Database db(path), DatabaseError);
}

// Every column is text: a phone number keeps its leading zero, a coordinate its digits.
TEST(CreateDatabaseFile, CreatesBothTablesAllTextThenLeavesTheFileAlone) {
    test::TempDir dir;
    const std::string path = dir.file(DatabaseFileName);
    EXPECT_EQ(createDatabaseFile(path), CreateDatabaseResult::Created);
    Database(path).execute("INSERT INTO users VALUES ('a', '0912345678', '354612071234567')");
    EXPECT_EQ(createDatabaseFile(path), CreateDatabaseResult::AlreadyExists);
    Database db(path);
    Statement columns(db,
                      "SELECT group_concat(m.name || ':' || p.type) FROM sqlite_master m, "
                      "pragma_table_info(m.name) p WHERE m.type='table' AND p.type <> 'TEXT'");
    ASSERT_TRUE(columns.step());
    EXPECT_EQ(columns.text(0), std::nullopt);
    Statement phone(db, "SELECT phone FROM users");
    ASSERT_TRUE(phone.step());
    EXPECT_EQ(*phone.text(0), "0912345678");
}

}  // namespace
}  // namespace kv820
