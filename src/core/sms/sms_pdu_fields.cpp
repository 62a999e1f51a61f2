#include "core/sms/sms_pdu_fields.h"

#include "core/sms/gsm_alphabet.h"

namespace kv820 {

namespace {

// Address fields hold at most 10 octets of digits.
constexpr int MaxAddressDigits = 20;
// One message's user data, header included.
constexpr int MaxUserDataOctets = 140;

constexpr std::string_view HexDigits = "0123456789ABCDEF";
// Semi-octet values of an address: the digits, then '*', '#' and the three letters that
// complete the range; 0xF is only the filler after an odd count.
constexpr std::string_view AddressCharacters = "0123456789*#abc";

enum class Alphabet { Gsm7, EightBit, Ucs2 };

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

Alphabet alphabetOf(std::uint8_t dcs) {
    const int group = dcs >> 4;
    if (group <= 0x07) {  // general data coding, with or without automatic deletion
        const int alphabet = (dcs >> 2) & 0x03;
        if ((dcs & 0x20) != 0 || alphabet == 1) {  // compressed data is left as it is
            return Alphabet::EightBit;
        }
        return alphabet == 2 ? Alphabet::Ucs2 : Alphabet::Gsm7;
    }
    if (group == 0x0E) {
        return Alphabet::Ucs2;
    }
    if (group == 0x0F) {
        return (dcs & 0x04) != 0 ? Alphabet::EightBit : Alphabet::Gsm7;
    }
    return Alphabet::Gsm7;  // message waiting groups and the reserved ones
}

std::optional<ConcatenatedPart> validPart(int reference, int total, int sequence) {
    if (total == 0 || sequence == 0 || sequence > total) {
        return std::nullopt;  // a phone shows such a message on its own
    }
    return ConcatenatedPart{reference, total, sequence};
}

// Walks the header's information elements; false when one runs past the header. The last
// concatenation element counts, as for any element repeated.
bool readHeader(std::span<const std::uint8_t> header, std::optional<ConcatenatedPart>& part) {
    std::size_t i = 0;
    while (i < header.size()) {
        if (header.size() - i < 2 || header.size() - i - 2 < header[i + 1]) {
            return false;
        }
        const std::uint8_t identifier = header[i];
        const std::span<const std::uint8_t> data = header.subspan(i + 2, header[i + 1]);
        if (identifier == 0x00 && data.size() == 3) {
            part = validPart(data[0], data[1], data[2]);
        } else if (identifier == 0x08 && data.size() == 4) {
            part = validPart(data[0] * 256 + data[1], data[2], data[3]);
        }
        i += 2 + data.size();
    }
    return true;
}

// The text after the header, which in 7-bit data ends on a septet boundary.
std::optional<std::string> userText(std::span<const std::uint8_t> data, Alphabet alphabet,
                                    int length, std::size_t headerOctets) {
    const std::span<const std::uint8_t> body = data.subspan(headerOctets);
    if (alphabet == Alphabet::EightBit) {
        return std::string(body.begin(), body.end());
    }
    if (alphabet == Alphabet::Ucs2) {
        return body.size() % 2 == 0 ? std::optional(ucs2OctetsToUtf8(body)) : std::nullopt;
    }
    const int headerSeptets = static_cast<int>((headerOctets * 8 + 6) / 7);
    const int fillBits = headerSeptets * 7 - static_cast<int>(headerOctets) * 8;
    const auto septets = unpackSeptets(body, length - headerSeptets, fillBits);
    return septets ? std::optional(gsmSeptetsToUtf8(*septets)) : std::nullopt;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> octetsFromHex(std::string_view hex) {
    if (hex.size() % 2 != 0) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> octets;
    octets.reserve(hex.size() / 2);
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = hexDigitValue(hex[i]);
        const int low = hexDigitValue(hex[i + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        octets.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return octets;
}

std::string hexFromOctets(std::span<const std::uint8_t> octets) {
    std::string hex;
    hex.reserve(octets.size() * 2);
    for (const std::uint8_t octet : octets) {
        hex.push_back(HexDigits[octet >> 4]);
        hex.push_back(HexDigits[octet & 0x0F]);
    }
    return hex;
}

std::optional<std::string> readAddress(OctetReader& in) {
    const int length = in.octet();  // semi-octets, the filler not counted
    const int typeOfNumber = (in.octet() >> 4) & 0x07;
    const std::span<const std::uint8_t> value = in.octets((length + 1) / 2);
    if (in.hasFailed() || length > MaxAddressDigits) {
        return std::nullopt;
    }
    if (typeOfNumber == 0x05) {
        const auto septets = unpackSeptets(value, length * 4 / 7, 0);
        return septets ? std::optional(gsmSeptetsToUtf8(*septets)) : std::nullopt;
    }
    std::string text = typeOfNumber == 0x01 && length > 0 ? "+" : "";
    for (int i = 0; i < length; ++i) {
        const int semiOctet = i % 2 == 0 ? value[i / 2] & 0x0F : value[i / 2] >> 4;
        if (semiOctet == 0x0F) {
            return std::nullopt;
        }
        text.push_back(AddressCharacters[semiOctet]);
    }
    return text;
}

std::optional<std::vector<std::uint8_t>> numberAddressField(std::string_view number,
                                                            std::uint8_t typeOfOther) {
    const bool international = number.starts_with('+');
    const std::string_view digits = international ? number.substr(1) : number;
    if (digits.empty() || digits.size() > MaxAddressDigits) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> field{static_cast<std::uint8_t>(digits.size()),
                                    international ? std::uint8_t{0x91} : typeOfOther};
    for (std::size_t i = 0; i < digits.size(); ++i) {
        const std::size_t value = AddressCharacters.substr(0, 12).find(digits[i]);
        if (value == std::string_view::npos) {
            return std::nullopt;
        }
        if (i % 2 == 0) {
            field.push_back(static_cast<std::uint8_t>(0xF0 | value));  // filler until a pair
        } else {
            field.back() = static_cast<std::uint8_t>((field.back() & 0x0F) | (value << 4));
        }
    }
    return field;
}

std::optional<PduUserData> readUserData(OctetReader& in, std::uint8_t dataCoding, bool hasHeader) {
    const Alphabet alphabet = alphabetOf(dataCoding);
    const int length = in.octet();  // septets in 7-bit data, octets otherwise
    const int octetCount = alphabet == Alphabet::Gsm7 ? packedOctetCount(length, 0) : length;
    const std::span<const std::uint8_t> data = in.octets(static_cast<std::size_t>(octetCount));
    if (in.hasFailed() || octetCount > MaxUserDataOctets) {
        return std::nullopt;
    }
    PduUserData userData;
    std::size_t headerOctets = 0;
    if (hasHeader) {
        headerOctets = data.empty() ? 1 : 1 + std::size_t{data[0]};
        if (headerOctets > data.size() ||
            !readHeader(data.subspan(1, headerOctets - 1), userData.part)) {
            return std::nullopt;
        }
        if (alphabet == Alphabet::Gsm7 && static_cast<int>((headerOctets * 8 + 6) / 7) > length) {
            return std::nullopt;
        }
    }
    auto text = userText(data, alphabet, length, headerOctets);
    if (!text) {
        return std::nullopt;
    }
    userData.text = std::move(*text);
    return userData;
}

}  // namespace kv820
