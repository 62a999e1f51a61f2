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

TEST(CreateDatabaseFile, CreatesBothTablesAllTextThenLeavesTheFileAlone) {
    test::TempDir dir;
    const std::string path = dir.file(DatabaseFileName);
    EXPECT_EQ(CreateDatabaseFile(path), CreateDatabaseResult::Created);
    {
        Database db(path);
        Statement columns(
            db,
            "SELECT m.name, p.name, p.type FROM sqlite_master m, "
            "pragma_table_info(m.name) p WHERE m.type='table' ORDER BY m.name, p.cid");
        std::string listing;
        while (columns.step()) {
            listing += *columns.text(0) + "." + *columns.text(1) + ":" + *columns.text(2) + " ";
        }
        EXPECT_EQ(listing,
                  "gpslog.imei:TEXT gpslog.receive_date:TEXT gpslog.receive_time:TEXT "
                  "gpslog.gps_pos_lat:TEXT gpslog.gps_pos_lon:TEXT gpslog.gps_date:TEXT "
                  "gpslog.gps_time:TEXT gpslog.gps_status:TEXT gpslog.gps_altitude:TEXT "
                  "gpslog.gps_speed:TEXT gpslog.gps_direction:TEXT gpslog.gps_number:TEXT "
                  "gpslog.message_status:TEXT users.name:TEXT users.phone:TEXT users.imei:TEXT ");
        db.execute("INSERT INTO users VALUES ('a', '0912345678', '354612071234567')");
    }
    EXPECT_EQ(CreateDatabaseFile(path), CreateDatabaseResult::AlreadyExists);
    Database db(path);
    Statement phone(db, "SELECT phone FROM users");
    ASSERT_TRUE(phone.step());
    EXPECT_EQ(*phone.text(0), "0912345678");  // stays text, keeps its leading zero
}

}  // namespace
}  // namespace kv820
