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

TEST(InputValidators, AcceptExactlyTheirCharacterClasses) {
    using C = ValidatorCase;
    const ValidatorCase cases[] = {
        // text  digit  decimal  coordinate  phone
        C{"", true, true, false, false},
        C{"0060", true, true, true, true},
        C{"150.5", false, true, true, false},
        C{"-.5", false, false, true, false},
        C{"12-5", false, false, false, false},
        C{"+", false, false, false, true},
        C{"0912 345", false, false, false, false},
        C{"++1", false, false, false, false},
        C{std::string{'1', '2', '\0', '3'}, false, false, false, false},
    };
    for (const ValidatorCase& c : cases) {
        SCOPED_TRACE('"' + c.text + '"');
        EXPECT_EQ(IsDigitString(c.text), c.digit);
        EXPECT_EQ(hasOnlyDigitsAndPoints(c.text), c.decimal);
        EXPECT_EQ(IsCoordinateString(c.text), c.coordinate);
        EXPECT_EQ(IsPhoneString(c.text), c.phone);
    }
}

}  // namespace
}  // namespace kv820
