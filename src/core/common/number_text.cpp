#include "core/common/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "core/common/local_time.h"

namespace kv820 {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view skipBlanks(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
    return text.substr(i);
}

// Exactly `width` digits at `offset`; -1 when any is none.
int fixedDigits(std::string_view text, std::size_t offset, std::size_t width) {
    int value = 0;
    for (std::size_t i = offset; i < offset + width; ++i) {
        if (!isDigit(text[i])) {
            return -1;
        }
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

}  // namespace

std::optional<std::int32_t> leadingInt32(std::string_view text) {
    text = skipBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || !isDigit(text.front())) {
        return std::nullopt;
    }
    constexpr std::int64_t Max = std::numeric_limits<std::int32_t>::max();
    constexpr std::int64_t Min = std::numeric_limits<std::int32_t>::min();
    std::int64_t value = 0;
    for (std::size_t i = 0; i < text.size() && isDigit(text[i]); ++i) {
        // Past the 32-bit range further digits cannot bring the value back: stop growing.
        if (value <= Max + 1) {
            value = value * 10 + (text[i] - '0');
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > Max) {
        return static_cast<std::int32_t>(Max);
    }
    if (value < Min) {
        return static_cast<std::int32_t>(Min);
    }
    return static_cast<std::int32_t>(value);
}

double leadingDecimal(std::string_view text, bool signAllowed) {
    text = skipBlanks(text);
    bool negative = false;
    if (signAllowed && !text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::size_t end = 0;
    std::size_t digits = 0;
    while (end < text.size() && isDigit(text[end])) {
        ++end;
        ++digits;
    }
    if (end < text.size() && text[end] == '.') {
        ++end;
        while (end < text.size() && isDigit(text[end])) {
            ++end;
            ++digits;
        }
    }
    if (digits == 0) {
        return 0.0;
    }
    std::string number(text.substr(0, end));
    if (number.front() == '.') {
        number.insert(number.begin(), '0');
    }
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value,
                                        std::chars_format::fixed);
    if (result.ec == std::errc::result_out_of_range) {
        // Saturates like the integers: too large is infinite, too small is zero.
        const bool large = number.find_first_not_of("0.") < number.find('.');
        value = large ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

bool isDecimalText(std::string_view text) {
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        text.remove_prefix(1);
    }
    bool digit = false;
    bool point = false;
    for (char c : text) {
        if (isDigit(c)) {
            digit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

bool isDecimalWithin(std::string_view text, double limit) {
    return isDecimalText(text) && std::fabs(leadingDecimal(text)) <= limit;
}

bool hasOnlyDigitsAndPoints(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return isDigit(c) || c == '.'; });
}

std::string fixedDecimal(double value, int decimals) {
    // Enough for any double in fixed notation (up to 309 integer digits) and the fraction.
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return std::string(buffer, result.ptr);
}

std::string zeroPadded(long long value, int width) {
    char digits[24];
    const unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                                   : static_cast<unsigned long long>(value);
    const auto end = std::to_chars(digits, digits + sizeof digits, magnitude).ptr;
    const auto count = static_cast<int>(end - digits);
    std::string text = value < 0 ? "-" : "";
    text.append(static_cast<std::size_t>(std::max(0, width - count)), '0');
    text.append(digits, end);
    return text;
}

std::string dateText(long long year, long long month, long long day) {
    return zeroPadded(year, 4) + '/' + zeroPadded(month, 2) + '/' + zeroPadded(day, 2);
}

std::string timeText(long long hour, long long minute, long long second) {
    return zeroPadded(hour, 2) + ':' + zeroPadded(minute, 2) + ':' + zeroPadded(second, 2);
}

std::optional<DateTimeFields> readDateAndTime(std::string_view date, std::string_view time) {
    if (date.size() != 10 || date[4] != '/' || date[7] != '/' || time.size() != 8 ||
        time[2] != ':' || time[5] != ':') {
        return std::nullopt;
    }
    const DateTimeFields fields{fixedDigits(date, 0, 4), fixedDigits(date, 5, 2),
                                fixedDigits(date, 8, 2), fixedDigits(time, 0, 2),
                                fixedDigits(time, 3, 2), fixedDigits(time, 6, 2)};
    const bool calendar = fields.year >= 1 && fields.month >= 1 && fields.month <= 12 &&
                          fields.day >= 1 && fields.day <= daysInMonth(fields.year, fields.month);
    const bool clock = fields.hour >= 0 && fields.hour < 24 && fields.minute >= 0 &&
                       fields.minute < 60 && fields.second >= 0 && fields.second < 60;
    return calendar && clock ? std::optional(fields) : std::nullopt;
}

}  // namespace kv820
