#include "core/setup/tracker_identity.h"

#include <gtest/gtest.h>

#include <string>

namespace kv820 {
namespace {

struct TextCase {
    std::string reply;
    std::string expected;
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << '"' << c.reply << '"';
}

class FirmwareVersion : public testing::TestWithParam<TextCase> {};

TEST_P(FirmwareVersion, IsTakenFromOffset15UpToTheFirstClosingParenthesis) {
    EXPECT_EQ(FirmwareVersionFromReply(GetParam().reply), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, FirmwareVersion,
    testing::Values(TextCase{"tr+fwv\r\r\nKV-820V1.01(B05)\r\n\r\nOK\r\n", "V1.01(B05)"},
                    TextCase{"tr+fwv\r\r\nKV-820V1.01(B05)(x)\r\n", "V1.01(B05)"},
                    TextCase{"tr+fwv\r\r\nERROR\r\n", "0001"}, TextCase{"", "0001"},
                    TextCase{"\r\nKV-820V1.01(B05)\r\n", ""},            // no echo
                    TextCase{"tr+fwv\r\r\nKV-820 V1.01\r\nOK\r\n", ""},  // no ")"
                    TextCase{"tr+fwvKV-820", ""}));                      // shorter than 15

class Imei : public testing::TestWithParam<TextCase> {};

TEST_P(Imei, IsFifteenCharactersFromOffset10OrElse18) {
    EXPECT_EQ(ImeiFromReply(GetParam().reply), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, Imei,
    testing::Values(TextCase{"at+cgsn\r\r\n356000000000001\r\n\r\nOK\r\n", "356000000000001"},
                    TextCase{"at+cgsn\r\r\n3560000000000019999\r\n", "356000000000001"},
                    TextCase{"at+cgsn\r\r\nIMEI No:356000000000001\r\n", "356000000000001"},
                    TextCase{"at+cgsn\r\r\n35600\r\n\r\nOK\r\n", "\nOK\r\n"},
                    TextCase{"at+cgsn\r\r\n", ""}, TextCase{"", ""}));

TEST(Imei, OnlyFifteenDigitsAreUsable) {
    EXPECT_TRUE(IsValidImei("356000000000001"));
    EXPECT_FALSE(IsValidImei("35600000000000"));
    EXPECT_FALSE(IsValidImei("3560000000000012"));
    EXPECT_FALSE(IsValidImei("35600000000000x"));
    EXPECT_FALSE(IsValidImei(""));
}

}  // namespace
}  // namespace kv820
