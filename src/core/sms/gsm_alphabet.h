#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kv820 {

// The alphabets a short message's user data comes in, and the packing of 7-bit characters
// into octets. Shared by the program's PDU codec and the simulator's, which plays the other
// side of the same messages.

// Septet 0x1B: the next septet is a character of the extension table ('€', '[', '{', ...).
inline constexpr std::uint8_t GsmEscape = 0x1B;

// The code points of a UTF-8 text; nullopt when it is not valid UTF-8 (a cut sequence, an
// overlong form, a surrogate, a value past U+10FFFF).
std::optional<std::u32string> utf8CodePoints(std::string_view text);
void appendUtf8(char32_t codePoint, std::string& out);

// The septets of one character in the GSM 7-bit default alphabet: one code from the main
// table, or the escape and a code from the extension table. Empty when neither table has
// the character (only exact matches: 'ç' is not sent as 'Ç').
std::vector<std::uint8_t> gsmSeptetsOf(char32_t codePoint);
// A whole text's septets; nullopt when any character is missing from the alphabet.
std::optional<std::vector<std::uint8_t>> gsmSeptetsOfText(std::u32string_view text);
// Septets back to UTF-8. An escape before a code the extension table does not have gives
// that code's main-table character, and a lone or doubled escape a space, as a phone shows
// them.
std::string gsmSeptetsToUtf8(std::span<const std::uint8_t> septets);

// Septets packed into octets low bit first, after `fillBits` (0..6) zero bits that align
// them to a septet boundary after a user-data header.
std::vector<std::uint8_t> packSeptets(std::span<const std::uint8_t> septets, int fillBits);
// The octets `septetCount` septets take after `fillBits` fill bits.
int packedOctetCount(int septetCount, int fillBits);
// The converse of packSeptets; nullopt when the octets are too few for `septetCount`.
std::optional<std::vector<std::uint8_t>> unpackSeptets(std::span<const std::uint8_t> octets,
                                                       int septetCount, int fillBits);

// UCS-2 as messages carry it: 16-bit units, big-endian, a character past U+FFFF as a
// surrogate pair (two units).
std::vector<std::uint8_t> ucs2Octets(std::u32string_view text);
// The converse; a lone surrogate becomes U+FFFD. The octet count must be even.
std::string ucs2OctetsToUtf8(std::span<const std::uint8_t> octets);

}  // namespace kv820
