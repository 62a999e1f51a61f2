#include "core/modem/sms_pdu.h"

#include <cstdint>
#include <span>
#include <vector>

#include "core/modem/gsm_alphabet.h"

namespace kv820 {

namespace {

// Address fields hold at most 10 octets of digits.
constexpr int MaxAddressDigits = 20;
// One message's user data, header included.
constexpr int MaxUserDataOctets = 140;
constexpr int MaxGsmSeptets = 160;
constexpr int MaxUcs2Octets = 140;

constexpr std::string_view HexDigits = "0123456789ABCDEF";
// Semi-octet values of an address: the digits, then '*', '#' and the three letters that
// complete the range; 0xF is only the filler after an odd count.
constexpr std::string_view AddressCharacters = "0123456789*#abc";

enum class Alphabet { Gsm7, EightBit, Ucs2 };

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

std::optional<std::vector<std::uint8_t>> OctetsFromHex(std::string_view hex) {
    if (hex.size() % 2 != 0) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> octets;
    octets.reserve(hex.size() / 2);
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = HexDigitValue(hex[i]);
        const int low = HexDigitValue(hex[i + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        octets.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return octets;
}

std::string HexFromOctets(std::span<const std::uint8_t> octets) {
    std::string hex;
    hex.reserve(octets.size() * 2);
    for (const std::uint8_t octet : octets) {
        hex.push_back(HexDigits[octet >> 4]);
        hex.push_back(HexDigits[octet & 0x0F]);
    }
    return hex;
}

// Reads a PDU front to back. A read past the end gives zeros or an empty span and leaves
// the reader failed, so that a decoder checks once per field group instead of per octet.
class OctetReader {
  public:
    explicit OctetReader(std::span<const std::uint8_t> octets) : octets_(octets) {}

    std::uint8_t Octet() { return Overruns(1) ? 0 : octets_[next_++]; }
    std::span<const std::uint8_t> Octets(std::size_t count) {
        if (Overruns(count)) {
            return {};
        }
        next_ += count;
        return octets_.subspan(next_ - count, count);
    }
    bool HasFailed() const { return failed_; }

  private:
    bool Overruns(std::size_t count) {
        failed_ = failed_ || octets_.size() - next_ < count;
        return failed_;
    }

    std::span<const std::uint8_t> octets_;
    std::size_t next_ = 0;
    bool failed_ = false;
};

// An address as text mode shows it: "+" and digits for an international number, digits
// for any other, the decoded name for an alphanumeric one.
std::optional<std::string> ReadAddress(OctetReader& in) {
    const int length = in.Octet();  // semi-octets, the filler not counted
    const int typeOfNumber = (in.Octet() >> 4) & 0x07;
    const std::span<const std::uint8_t> value = in.Octets((length + 1) / 2);
    if (in.HasFailed() || length > MaxAddressDigits) {
        return std::nullopt;
    }
    if (typeOfNumber == 0x05) {
        const auto septets = UnpackSeptets(value, length * 4 / 7, 0);
        return septets ? std::optional(GsmSeptetsToUtf8(*septets)) : std::nullopt;
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

// "yy/MM/dd,hh:mm:ss±zz" from seven octets of swapped decimal digits; the zone's tens digit
// carries the sign in its top bit.
std::optional<std::string> ReadTimestamp(OctetReader& in) {
    const std::span<const std::uint8_t> octets = in.Octets(7);
    if (in.HasFailed()) {
        return std::nullopt;
    }
    constexpr std::string_view Separators = "//,::";
    std::string text;
    for (int i = 0; i < 7; ++i) {
        const int first = octets[i] & (i == 6 ? 0x07 : 0x0F);
        const int second = octets[i] >> 4;
        if (first > 9 || second > 9) {
            return std::nullopt;
        }
        if (i == 6) {
            text.push_back((octets[i] & 0x08) != 0 ? '-' : '+');
        }
        text.push_back(static_cast<char>('0' + first));
        text.push_back(static_cast<char>('0' + second));
        if (i < 5) {
            text.push_back(Separators[i]);
        }
    }
    return text;
}

Alphabet AlphabetOf(std::uint8_t dcs) {
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

std::optional<ConcatenatedPart> ValidPart(int reference, int total, int sequence) {
    if (total == 0 || sequence == 0 || sequence > total) {
        return std::nullopt;  // a phone shows such a message on its own
    }
    return ConcatenatedPart{reference, total, sequence};
}

// Walks the header's information elements; false when one runs past the header. The last
// concatenation element counts, as for any element repeated.
bool ReadHeader(std::span<const std::uint8_t> header, std::optional<ConcatenatedPart>& part) {
    std::size_t i = 0;
    while (i < header.size()) {
        if (header.size() - i < 2 || header.size() - i - 2 < header[i + 1]) {
            return false;
        }
        const std::uint8_t identifier = header[i];
        const std::span<const std::uint8_t> data = header.subspan(i + 2, header[i + 1]);
        if (identifier == 0x00 && data.size() == 3) {
            part = ValidPart(data[0], data[1], data[2]);
        } else if (identifier == 0x08 && data.size() == 4) {
            part = ValidPart(data[0] * 256 + data[1], data[2], data[3]);
        }
        i += 2 + data.size();
    }
    return true;
}

struct UserData {
    std::string text;
    std::optional<ConcatenatedPart> part;
};

// The text after the header, which in 7-bit data ends on a septet boundary.
std::optional<std::string> UserText(std::span<const std::uint8_t> data, Alphabet alphabet,
                                    int length, std::size_t headerOctets) {
    const std::span<const std::uint8_t> body = data.subspan(headerOctets);
    if (alphabet == Alphabet::EightBit) {
        return std::string(body.begin(), body.end());
    }
    if (alphabet == Alphabet::Ucs2) {
        return body.size() % 2 == 0 ? std::optional(Ucs2OctetsToUtf8(body)) : std::nullopt;
    }
    const int headerSeptets = static_cast<int>((headerOctets * 8 + 6) / 7);
    const int fillBits = headerSeptets * 7 - static_cast<int>(headerOctets) * 8;
    const auto septets = UnpackSeptets(body, length - headerSeptets, fillBits);
    return septets ? std::optional(GsmSeptetsToUtf8(*septets)) : std::nullopt;
}

std::optional<UserData> ReadUserData(OctetReader& in, Alphabet alphabet, bool hasHeader) {
    const int length = in.Octet();  // septets in 7-bit data, octets otherwise
    const int octetCount = alphabet == Alphabet::Gsm7 ? PackedOctetCount(length, 0) : length;
    const std::span<const std::uint8_t> data = in.Octets(static_cast<std::size_t>(octetCount));
    if (in.HasFailed() || octetCount > MaxUserDataOctets) {
        return std::nullopt;
    }
    UserData userData;
    std::size_t headerOctets = 0;
    if (hasHeader) {
        headerOctets = data.empty() ? 1 : 1 + std::size_t{data[0]};
        if (headerOctets > data.size() ||
            !ReadHeader(data.subspan(1, headerOctets - 1), userData.part)) {
            return std::nullopt;
        }
        if (alphabet == Alphabet::Gsm7 && static_cast<int>((headerOctets * 8 + 6) / 7) > length) {
            return std::nullopt;
        }
    }
    auto text = UserText(data, alphabet, length, headerOctets);
    if (!text) {
        return std::nullopt;
    }
    userData.text = std::move(*text);
    return userData;
}

std::optional<SmsPduMessage> ReadDeliver(OctetReader& in, std::uint8_t firstOctet) {
    SmsPduMessage message;
    auto sender = ReadAddress(in);
    in.Octet();  // protocol identifier: a tracker's reports use the plain one
    const std::uint8_t dcs = in.Octet();
    auto timestamp = ReadTimestamp(in);
    if (!sender || !timestamp) {
        return std::nullopt;
    }
    auto userData = ReadUserData(in, AlphabetOf(dcs), (firstOctet & 0x40) != 0);
    if (!userData) {
        return std::nullopt;
    }
    message.sender = std::move(*sender);
    message.timestampText = std::move(*timestamp);
    message.text = std::move(userData->text);
    message.part = userData->part;
    return message;
}

// What a status report says is only its recipient and the centre's time stamp; the
// discharge time and status are read to make sure the report is whole.
std::optional<SmsPduMessage> ReadStatusReport(OctetReader& in) {
    in.Octet();  // message reference
    auto recipient = ReadAddress(in);
    auto timestamp = ReadTimestamp(in);
    const bool dischargeTime = ReadTimestamp(in).has_value();
    in.Octet();  // status
    if (!recipient || !timestamp || !dischargeTime || in.HasFailed()) {
        return std::nullopt;
    }
    SmsPduMessage message;
    message.kind = SmsPduMessage::Kind::StatusReport;
    message.sender = std::move(*recipient);
    message.timestampText = std::move(*timestamp);
    return message;
}

std::optional<std::vector<std::uint8_t>> DestinationField(std::string_view destination) {
    const bool international = destination.starts_with('+');
    const std::string_view digits = international ? destination.substr(1) : destination;
    if (digits.empty() || digits.size() > MaxAddressDigits) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> field{static_cast<std::uint8_t>(digits.size()),
                                    static_cast<std::uint8_t>(international ? 0x91 : 0x81)};
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

}  // namespace

std::optional<SmsPduMessage> DecodeSmsPdu(std::string_view hex) {
    const auto octets = OctetsFromHex(hex);
    if (!octets) {
        return std::nullopt;
    }
    OctetReader in(*octets);
    in.Octets(in.Octet());  // the service centre's address, which the text does not show
    const std::uint8_t firstOctet = in.Octet();
    if (in.HasFailed()) {
        return std::nullopt;
    }
    switch (firstOctet & 0x03) {
        case 0x00:
            return ReadDeliver(in, firstOctet);
        case 0x02:
            return ReadStatusReport(in);
        default:
            return std::nullopt;
    }
}

std::optional<SmsSubmitPdu> EncodeSmsSubmit(std::string_view destination, std::string_view text) {
    const auto address = DestinationField(destination);
    const auto codePoints = Utf8CodePoints(text);
    if (!address || !codePoints) {
        return std::nullopt;
    }
    // Relative validity period of 4 days: long enough for a tracker that is out of coverage.
    std::vector<std::uint8_t> tpdu{0x11, 0x00};
    tpdu.insert(tpdu.end(), address->begin(), address->end());
    const auto septets = GsmSeptetsOfText(*codePoints);
    std::vector<std::uint8_t> userData;
    int length = 0;
    if (septets) {
        length = static_cast<int>(septets->size());
        userData = PackSeptets(*septets, 0);
    } else {
        userData = Ucs2Octets(*codePoints);
        length = static_cast<int>(userData.size());
    }
    if (length > (septets ? MaxGsmSeptets : MaxUcs2Octets)) {
        return std::nullopt;
    }
    const std::uint8_t dcs = septets ? 0x00 : 0x08;
    tpdu.insert(tpdu.end(), {0x00, dcs, 0xAA, static_cast<std::uint8_t>(length)});
    tpdu.insert(tpdu.end(), userData.begin(), userData.end());
    return SmsSubmitPdu{"00" + HexFromOctets(tpdu), static_cast<int>(tpdu.size())};
}

}  // namespace kv820
