#include "core/modem/new_sms_index.h"

#include <gtest/gtest.h>

namespace kv820 {
namespace {

struct IndexCase {
    const char* line;
    const char* index;
};

class NewSmsIndexTest : public ::testing::TestWithParam<IndexCase> {};

TEST_P(NewSmsIndexTest, ReadsTheStorageIndex) {
    EXPECT_EQ(NewSmsIndex(GetParam().line), GetParam().index);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, NewSmsIndexTest,
    ::testing::Values(
        IndexCase{"+CMTI: \"SM\",5\r\n", "5"}, IndexCase{"+CMTI: \"ME\",12\r\n", "12"},
        IndexCase{"+CMTI: \"SM\",007\r\n", "7"}, IndexCase{"+CMTI: \"SM\",255", "255"},
        // A stray CR before the announcement does not shift the index.
        IndexCase{"\r+CMTI: \"SM\",3\r\n", "3"},
        // No number where the index belongs reads as 0.
        IndexCase{"+CMTI: \"SM\",\r\n", "0"}, IndexCase{"+CMTI\r\n", "0"}, IndexCase{"+CMTI", "0"},
        IndexCase{"", "0"}, IndexCase{"+CMTI: \"SM\",99999999999\r\n", "2147483647"}));

TEST(IsNewSmsAnnouncement, LooksForTheMarkAnywhere) {
    EXPECT_TRUE(IsNewSmsAnnouncement("+CMTI: \"SM\",5\r\n"));
    EXPECT_TRUE(IsNewSmsAnnouncement("xx+CMTI"));
    EXPECT_FALSE(IsNewSmsAnnouncement("+CMT: \"SM\",5\r\n"));
    EXPECT_FALSE(IsNewSmsAnnouncement("RING\r\n"));
    EXPECT_FALSE(IsNewSmsAnnouncement(""));
}

}  // namespace
}  // namespace kv820
