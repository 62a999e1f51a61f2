#include "core/common/number_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace kv820 {
namespace {

constexpr std::int32_t Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t Min = std::numeric_limits<std::int32_t>::min();

struct LeadingCase {
    std::string text;
    std::int32_t value;
};

// Beyond the range the value saturates: a wrap would turn "4294967356" into 60, which
// some page accepts. One sign at most: "--2147483648" must not become an overflowing negation.
TEST(LeadingInt32, ReadsTheLeadingDigits) {
    for (const LeadingCase& c : {LeadingCase{"0060", 60},
                                 {"1.9", 1},
                                 {"6O", 6},
                                 {"  42", 42},
                                 {"\r\n1", 1},
                                 {"+7", 7},
                                 {"-5", -5},
                                 {"2147483647", Max},
                                 {"4294967356", Max},
                                 {"4294967297.5", Max},
                                 {"-2147483649", Min},
                                 {"--5", 0},
                                 {"--2147483648", 0},
                                 {" - 5", 0}}) {
        EXPECT_EQ(leadingInt32(c.text).value_or(0), c.value) << '"' << c.text << '"';
    }
}

TEST(LeadingInt32, NoDigitIsNoNumber) {
    for (const char* text : {"", "x1", "-", "+", " ", "."}) {
        EXPECT_EQ(leadingInt32(text), std::nullopt) << '"' << text << '"';
    }
}

struct DecimalCase {
    std::string text;
    bool decimal;
    bool latitude;
};

TEST(DecimalTexts, AcceptPlainDecimalsOnly) {
    const DecimalCase cases[] = {{"-90.000000", true, true},
                                 {"-90.000001", true, false},
                                 {".5", true, true},
                                 {"7.", true, true},
                                 {"-", false, false},
                                 {"1.2.3", false, false},
                                 {"1e3", false, false},
                                 {" 1", false, false},
                                 // Beyond the range of a double: too large, not zero.
                                 {"1" + std::string(400, '0'), true, false},
                                 {"0." + std::string(400, '0') + "1", true, true}};
    for (const DecimalCase& c : cases) {
        EXPECT_EQ(isDecimalText(c.text), c.decimal) << c.text.substr(0, 24);
        EXPECT_EQ(isDecimalWithin(c.text, 90.0), c.latitude) << c.text.substr(0, 24);
    }
}

TEST(ZeroPadded, WritesLikePercentDWithPrecision) {
    EXPECT_EQ(zeroPadded(7, 2) + ' ' + zeroPadded(12345, 4) + ' ' + zeroPadded(-5, 4) + ' ' +
                  zeroPadded(std::numeric_limits<long long>::min(), 2),
              "07 12345 -0005 -9223372036854775808");
}

// Stored dates and times are read only when they name a moment: a report without a fix
// stores "2000/00/00", and a day the month lacks must not roll into the next.
TEST(DateAndTime, ReadOnlyMomentsOfTheCalendar) {
    const std::optional<DateTimeFields> read = readDateAndTime("2024/02/29", "23:59:58");
    ASSERT_TRUE(read);
    EXPECT_EQ(dateText(read->year, read->month, read->day) + " " +
                  timeText(read->hour, read->minute, read->second),
              "2024/02/29 23:59:58");
    const std::pair<const char*, const char*> refused[] = {
        {"2000/00/00", "00:00:00"}, {"2026/02/29", "10:00:00"}, {"2026/04/31", "10:00:00"},
        {"2026/01/01", "24:00:00"}, {"2026/01/01", "10:60:00"}, {"2026/1/01", "10:00:00"},
        {"2026-01-01", "10:00:00"}, {"2026/01/01", "10:00:0x"}, {"0000/01/01", "10:00:00"},
        {"2026/01/01", "+1:00:00"}, {"2026/01/01", ""}};
    for (const auto& [date, time] : refused) {
        EXPECT_FALSE(readDateAndTime(date, time)) << date << " " << time;
    }
}

}  // namespace
}  // namespace kv820
