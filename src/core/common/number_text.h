#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv820 {

// Every number the program reads from or writes into device text, files and SQL goes
// through here (std::to_chars, std::from_chars), never through the C library's or the
// streams' conversions: the Qt application sets the user's locale, under which those read
// "25.5" as 25 and write "25,500000".

// The whole number a text starts with: leading blanks, one optional sign, then digits
// (what follows is ignored). nullopt when no digit follows. Values beyond 32 bits
// saturate instead of wrapping, so "4294967356" stays a large number, not 60.
std::optional<std::int32_t> leadingInt32(std::string_view text);

// The decimal number a text starts with: leading blanks, an optional sign when
// `signAllowed`, digits with an optional fraction ("12.5", ".5", "7."). 0 when there is
// none. No exponent, no "inf" or "nan": such texts are not device numbers.
double leadingDecimal(std::string_view text, bool signAllowed = true);

// A whole text that is a plain decimal number: an optional sign, digits with at most one
// decimal point and at least one digit ("-12.5", "+3", ".5", "7."); no exponent, no
// blanks.
bool isDecimalText(std::string_view text);

// A decimal number (as isDecimalText) whose magnitude is at most `limit` (90 for a
// latitude, 180 for a longitude).
bool isDecimalWithin(std::string_view text, double limit);

// Only '0'..'9' and '.', anywhere and any number of points; the empty text passes. The
// character check of the operator's decimal fields, which says nothing about the value.
bool hasOnlyDigitsAndPoints(std::string_view text);

// The value with exactly `decimals` digits after the point, as printf "%.Nf" writes it
// in the C locale ("18.5200" for 18.52 with 4).
std::string fixedDecimal(double value, int decimals);

// The value with at least `width` digits, zeros in front ("%.Nd": 7 with 2 gives "07",
// -5 with 4 gives "-0005").
std::string zeroPadded(long long value, int width);

// Dates and times as the database and the screens hold them: "YYYY/MM/DD" and
// "HH:MM:SS", zero-padded so that the joined text sorts chronologically. The fields are
// wide so that a device's out-of-range values are written as they came.
std::string dateText(long long year, long long month, long long day);
std::string timeText(long long hour, long long minute, long long second);

// The fields of a date and a time in those forms.
struct DateTimeFields {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    std::string date() const { return dateText(year, month, day); }      // "YYYY/MM/DD"
    std::string time() const { return timeText(hour, minute, second); }  // "HH:MM:SS"
};

// Reads "YYYY/MM/DD" and "HH:MM:SS" exactly (zero-padded, digits only) when they name a day
// of the calendar (year 1 on) and a time of that day; nothing otherwise, so that the
// unconverted "2000/00/00" of a report without a fix is no moment.
std::optional<DateTimeFields> readDateAndTime(std::string_view date, std::string_view time);

}  // namespace kv820
