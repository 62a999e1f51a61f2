#include "core/commands/input_validators.h"
#include "core/common/number_text.h"

#include <gtest/gtest.h>

#include <string>

namespace kv820 {
namespace {

struct ValidatorCase {
    std::string text;
    bool digit;
    bool decimal;
    bool coordinate;
    bool phone;
};

class InputValidators : public testing::TestWithParam<ValidatorCase> {};

TEST_P(InputValidators, AcceptExactlyTheirCharacterClasses) {
    const ValidatorCase& c = GetParam();
    EXPECT_EQ(IsDigitString(c.text), c.digit) << '"' << c.text << '"';
    EXPECT_EQ(HasOnlyDigitsAndPoints(c.text), c.decimal) << '"' << c.text << '"';
    EXPECT_EQ(IsCoordinateString(c.text), c.coordinate) << '"' << c.text << '"';
    EXPECT_EQ(IsPhoneString(c.text), c.phone) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(Texts, InputValidators,
                         testing::Values(
                             //             text       digit  decimal coord  phone
                             ValidatorCase{"", true, true, false, false},
                             ValidatorCase{"0060", true, true, true, true},

                             ValidatorCase{"150.5", false, true, true, false},

                             ValidatorCase{"-.5", false, false, true, false},

                             ValidatorCase{"12-5", false, false, false, false},
                             ValidatorCase{"+", false, false, false, true},

                             ValidatorCase{"0912 345", false, false, false, false},
                             ValidatorCase{"++1", false, false, false, false},

                             ValidatorCase{std::string("12\0"
                                                       "3",
                                                       4),
                                           false, false, false, false}));

}  // namespace
}  // namespace kv820
