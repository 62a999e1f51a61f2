#include "core/commands/command_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kv820 {
namespace {

TEST(ReturnPhoneSuffix, EndsWithTheReturnNumberWhenThereIsOne) {
    EXPECT_EQ(ReturnPhoneSuffix(""), "!");
    EXPECT_EQ(ReturnPhoneSuffix("+15550100"), ",+15550100!");
    EXPECT_EQ(ReturnPhoneSuffix("+"), ",+!");
}

TEST(IsAcceptableReturnPhone, TakesNothingOrAPhoneNumber) {
    EXPECT_TRUE(IsAcceptableReturnPhone(""));
    EXPECT_TRUE(IsAcceptableReturnPhone("0911222333"));
    EXPECT_TRUE(IsAcceptableReturnPhone("+"));
    EXPECT_FALSE(IsAcceptableReturnPhone("0911 222333"));
    EXPECT_FALSE(IsAcceptableReturnPhone("09-11"));
}

TEST(CommandText, JoinsCodeImeiFieldsAndSuffix) {
    const std::vector<std::string> none;
    const std::vector<std::string> fields = {"4", "110", "", "119"};

    EXPECT_EQ(CommandText('2', "354612071234567", none, ""), "?2,354612071234567!");
    EXPECT_EQ(CommandText('7', "354612071234567", fields, "0911222333"),
              "?7,354612071234567,4,110,,119,0911222333!");
}

}  // namespace
}  // namespace kv820
