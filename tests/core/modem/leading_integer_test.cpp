#include "core/common/number_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
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

INSTANTIATE_TEST_SUITE_P(
    Texts, LeadingInt32Test,
    testing::Values(LeadingCase{"", 0}, LeadingCase{"0", 0}, LeadingCase{"86400", 86400},
                    LeadingCase{"0060", 60}, LeadingCase{"1.9", 1}, LeadingCase{"0.9", 0},
                    LeadingCase{".5", 0}, LeadingCase{".", 0}, LeadingCase{"6O", 6},
                    LeadingCase{"O6", 0}, LeadingCase{"  42", 42}, LeadingCase{"+7", 7},
                    LeadingCase{"-5", -5}, LeadingCase{"-", 0}, LeadingCase{"2147483647", Max},
                    LeadingCase{"-2147483648", Min},
                    // Beyond the range the value saturates: a wrap would turn these into
                    // 60, 0 and 1, all of which some page accepts.
                    LeadingCase{"4294967356", Max}, LeadingCase{"4294967296", Max},
                    LeadingCase{"2147483648", Max}, LeadingCase{"4294967297.5", Max},
                    LeadingCase{"99999999999999999999999999", Max}, LeadingCase{"-2147483649", Min},
                    LeadingCase{"-99999999999999999999999999", Min}));

}  // namespace
}  // namespace kv820
