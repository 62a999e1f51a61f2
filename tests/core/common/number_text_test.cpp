#include "core/common/number_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <ostream>
#include <string>

namespace kv820 {
namespace {

constexpr std::int32_t Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t Min = std::numeric_limits<std::int32_t>::min();

struct LeadingCase {
    std::string text;
    std::int32_t value;
};

void PrintTo(const LeadingCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class LeadingInt32Test : public testing::TestWithParam<LeadingCase> {};

TEST_P(LeadingInt32Test, ReadsTheLeadingDigits) {
    EXPECT_EQ(LeadingInt32(GetParam().text).value_or(0), GetParam().value)
        << '"' << GetParam().text << '"';
}

// Beyond the range the value saturates: a wrap would turn "4294967356" into 60, which
// some page accepts. One sign at most: "--2147483648" must not become an overflowing negation.
INSTANTIATE_TEST_SUITE_P(Texts, LeadingInt32Test,
                         testing::Values(LeadingCase{"0060", 60}, LeadingCase{"1.9", 1},
                                         LeadingCase{"6O", 6}, LeadingCase{"  42", 42},
                                         LeadingCase{"\r\n1", 1}, LeadingCase{"+7", 7},
                                         LeadingCase{"-5", -5}, LeadingCase{"2147483647", Max},
                                         LeadingCase{"4294967356", Max},
                                         LeadingCase{"4294967297.5", Max},
                                         LeadingCase{"-2147483649", Min}, LeadingCase{"--5", 0},
                                         LeadingCase{"--2147483648", 0}, LeadingCase{" - 5", 0}));

TEST(LeadingInt32, NoDigitIsNoNumber) {
    for (const char* text : {"", "x1", "-", "+", " ", "."}) {
        EXPECT_EQ(LeadingInt32(text), std::nullopt) << '"' << text << '"';
    }
}

struct DecimalCase {
    std::string text;
    bool decimal;
    bool latitude;
};

void PrintTo(const DecimalCase& c, std::ostream* os) {
    *os << '"' << c.text.substr(0, 24) << '"';
}

class DecimalTexts : public testing::TestWithParam<DecimalCase> {};

TEST_P(DecimalTexts, AcceptPlainDecimalsOnly) {
    EXPECT_EQ(IsDecimalText(GetParam().text), GetParam().decimal) << GetParam().text;
    EXPECT_EQ(IsDecimalWithin(GetParam().text, 90.0), GetParam().latitude) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DecimalTexts,
    testing::Values(DecimalCase{"-90.000000", true, true}, DecimalCase{"-90.000001", true, false},
                    DecimalCase{".5", true, true}, DecimalCase{"7.", true, true},
                    DecimalCase{"-", false, false}, DecimalCase{"1.2.3", false, false},
                    DecimalCase{"1e3", false, false}, DecimalCase{" 1", false, false},
                    // Beyond the range of a double: too large, not zero.
                    DecimalCase{"1" + std::string(400, '0'), true, false},
                    DecimalCase{"0." + std::string(400, '0') + "1", true, true}));

TEST(ZeroPadded, WritesLikePercentDWithPrecision) {
    EXPECT_EQ(ZeroPadded(7, 2) + ' ' + ZeroPadded(12345, 4) + ' ' + ZeroPadded(-5, 4) + ' ' +
                  ZeroPadded(std::numeric_limits<long long>::min(), 2),
              "07 12345 -0005 -9223372036854775808");
}

}  // namespace
}  // namespace kv820
