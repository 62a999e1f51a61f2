#include "sim/pdu_format.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <stdexcept>
#include <utility>
#include <vector>

#include "core/modem/gsm_alphabet.h"

namespace kv820::sim {
namespace {

using Octets = std::vector<std::uint8_t>;

// A made-up centre of the simulated network.
constexpr std::string_view ServiceCentre = "+886935874443";
constexpr std::string_view AddressCharacters = "0123456789*#abc";
constexpr std::size_t MaxUserDataOctets = 140;
constexpr int MaxGsmSeptets = 160;
constexpr int MaxNameSeptets = 11;

std::string hexOf(std::span<const std::uint8_t> octets) {
    constexpr std::string_view digits = "0123456789ABCDEF";
    std::string hex;
    for (const std::uint8_t octet : octets) {
        hex.push_back(digits[octet >> 4]);
        hex.push_back(digits[octet & 0x0F]);
    }
    return hex;
}

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

std::optional<Octets> octetsOf(std::string_view hex) {
    if (hex.size() % 2 != 0) {
        return std::nullopt;
    }
    Octets octets;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = hexDigitValue(hex[i]);
        const int low = hexDigitValue(hex[i + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        octets.push_back(static_cast<std::uint8_t>(high << 4 | low));
    }
    return octets;
}

// A number's address field; nullopt when it holds anything but digits, '*' and '#'.
std::optional<Octets> numberField(std::string_view number, std::uint8_t nationalType) {
    const bool international = number.starts_with('+');
    const std::string_view digits = international ? number.substr(1) : number;
    if (digits.empty() || digits.size() > 20) {
        return std::nullopt;
    }
    Octets field{static_cast<std::uint8_t>(digits.size()),
                 international ? std::uint8_t{0x91} : nationalType};
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const std::size_t low = AddressCharacters.substr(0, 12).find(digits[i]);
        const std::size_t high = i + 1 < digits.size()
                                     ? AddressCharacters.substr(0, 12).find(digits[i + 1])
                                     : 0x0F;  // the filler after an odd count
        if (low == std::string_view::npos || high == std::string_view::npos) {
            return std::nullopt;
        }
        field.push_back(static_cast<std::uint8_t>(high << 4 | low));
    }
    return field;
}

std::u32string codePointsOf(std::string_view text) {
    auto codePoints = kv820::Utf8CodePoints(text);
    if (!codePoints) {
        throw std::invalid_argument("not UTF-8: " + std::string(text));
    }
    return *codePoints;
}

// Septets of the text; characters outside the alphabet as '?', as a phone sends them.
Octets gsmSeptetsOf(std::string_view text) {
    Octets septets;
    for (const char32_t c : codePointsOf(text)) {
        const Octets one = kv820::GsmSeptetsOf(c);
        septets.insert(septets.end(), one.begin(), one.end());
        if (one.empty()) {
            septets.push_back('?');
        }
    }
    return septets;
}

Octets senderField(std::string_view sender) {
    if (auto number = numberField(sender, 0xA1)) {
        return *number;
    }
    const Octets septets = gsmSeptetsOf(sender);
    if (septets.size() > MaxNameSeptets) {
        throw std::invalid_argument("sender name too long: " + std::string(sender));
    }
    const Octets packed = kv820::PackSeptets(septets, 0);
    // The length counts the semi-octets the name's bits fill.
    Octets field{static_cast<std::uint8_t>((septets.size() * 7 + 3) / 4), 0xD0};
    field.insert(field.end(), packed.begin(), packed.end());
    return field;
}

std::uint8_t swappedDigits(int value) {
    return static_cast<std::uint8_t>((value % 10) << 4 | (value / 10) % 10);
}

Octets timestampField(const SmsTimestamp& stamp) {
    const int zone = std::abs(stamp.zoneQuarterHours) % 80;
    const std::uint8_t sign = stamp.zoneQuarterHours < 0 ? 0x08 : 0x00;
    return {swappedDigits(stamp.year % 100),
            swappedDigits(stamp.month),
            swappedDigits(stamp.day),
            swappedDigits(stamp.hour),
            swappedDigits(stamp.minute),
            swappedDigits(stamp.second),
            static_cast<std::uint8_t>(swappedDigits(zone) | sign)};
}

Octets concatenationHeader(const kv820::ConcatenatedPart& part, bool sixteenBitReference) {
    const auto octet = [](int value) { return static_cast<std::uint8_t>(value & 0xFF); };
    if (sixteenBitReference) {
        return {6,
                0x08,
                4,
                octet(part.reference >> 8),
                octet(part.reference),
                octet(part.total),
                octet(part.sequence)};
    }
    return {5, 0x00, 3, octet(part.reference), octet(part.total), octet(part.sequence)};
}

PduEncoding resolved(const DeliverPduFields& fields) {
    if (fields.encoding != PduEncoding::Automatic) {
        return fields.encoding;
    }
    const bool fits = kv820::GsmSeptetsOfText(codePointsOf(fields.text)).has_value();
    return fits ? PduEncoding::Gsm7 : PduEncoding::Ucs2;
}

// The user-data length and the user data, header first; 7-bit text starts on the septet
// boundary after the header.
std::pair<int, Octets> userData(const DeliverPduFields& fields, PduEncoding encoding, Octets data) {
    if (encoding == PduEncoding::Gsm7) {
        const Octets septets = gsmSeptetsOf(fields.text);
        const int headerSeptets = static_cast<int>((data.size() * 8 + 6) / 7);
        const int fillBits = headerSeptets * 7 - static_cast<int>(data.size()) * 8;
        const Octets packed = kv820::PackSeptets(septets, fillBits);
        data.insert(data.end(), packed.begin(), packed.end());
        return {headerSeptets + static_cast<int>(septets.size()), data};
    }
    if (encoding == PduEncoding::Ucs2) {
        const Octets units = kv820::Ucs2Octets(codePointsOf(fields.text));
        data.insert(data.end(), units.begin(), units.end());
    } else {
        data.insert(data.end(), fields.text.begin(), fields.text.end());
    }
    return {static_cast<int>(data.size()), data};
}

// Reads a PDU front to back. A read past the end gives zeros or an empty span and leaves
// the cursor failed, checked once per field group.
class OctetCursor {
  public:
    explicit OctetCursor(std::span<const std::uint8_t> octets) : octets_(octets) {}

    std::uint8_t next() { return overruns(1) ? 0 : octets_[next_++]; }
    std::span<const std::uint8_t> take(std::size_t count) {
        if (overruns(count)) {
            return {};
        }
        next_ += count;
        return octets_.subspan(next_ - count, count);
    }
    bool failed() const { return failed_; }
    bool atEnd() const { return next_ == octets_.size(); }

  private:
    bool overruns(std::size_t count) {
        failed_ = failed_ || octets_.size() - next_ < count;
        return failed_;
    }

    std::span<const std::uint8_t> octets_;
    std::size_t next_ = 0;
    bool failed_ = false;
};

std::optional<std::string> destinationOf(OctetCursor& in) {
    const int length = in.next();  // semi-octets
    const bool international = ((in.next() >> 4) & 0x07) == 0x01;
    const std::span<const std::uint8_t> value = in.take((length + 1) / 2);
    if (in.failed() || length == 0 || length > 20) {
        return std::nullopt;
    }
    std::string text = international ? "+" : "";
    for (int i = 0; i < length; ++i) {
        const int semiOctet = i % 2 == 0 ? value[i / 2] & 0x0F : value[i / 2] >> 4;
        if (semiOctet == 0x0F) {
            return std::nullopt;
        }
        text.push_back(AddressCharacters[semiOctet]);
    }
    return text;
}

// The validity period's octets by its format: none, enhanced, relative, absolute.
std::size_t validityPeriodOctets(std::uint8_t firstOctet) {
    constexpr std::size_t octets[] = {0, 7, 1, 7};
    return octets[(firstOctet >> 3) & 0x03];
}

// What a sender sets: the general data coding groups and the 0xF0 group; compressed or
// other groups are not text a tracker's operator sends.
std::optional<PduEncoding> encodingOf(std::uint8_t dcs) {
    if ((dcs & 0xE0) == 0x00 || (dcs & 0xE0) == 0x40) {
        constexpr PduEncoding encodings[] = {PduEncoding::Gsm7, PduEncoding::EightBit,
                                             PduEncoding::Ucs2, PduEncoding::Gsm7};
        return encodings[(dcs >> 2) & 0x03];
    }
    if ((dcs & 0xF0) == 0xF0) {
        return (dcs & 0x04) != 0 ? PduEncoding::EightBit : PduEncoding::Gsm7;
    }
    return std::nullopt;
}

std::optional<std::string> submittedText(OctetCursor& in, PduEncoding encoding, bool header) {
    const int length = in.next();
    const std::size_t octetCount =
        encoding == PduEncoding::Gsm7 ? static_cast<std::size_t>(kv820::PackedOctetCount(length, 0))
                                      : static_cast<std::size_t>(length);
    const std::span<const std::uint8_t> data = in.take(octetCount);
    if (in.failed() || !in.atEnd() || octetCount > MaxUserDataOctets) {
        return std::nullopt;
    }
    const std::size_t headerOctets = header ? (data.empty() ? 1 : 1 + std::size_t{data[0]}) : 0;
    if (headerOctets > data.size()) {
        return std::nullopt;
    }
    const std::span<const std::uint8_t> body = data.subspan(headerOctets);
    if (encoding == PduEncoding::EightBit) {
        return std::string(body.begin(), body.end());
    }
    if (encoding == PduEncoding::Ucs2) {
        return body.size() % 2 == 0 ? std::optional(kv820::Ucs2OctetsToUtf8(body)) : std::nullopt;
    }
    const int headerSeptets = static_cast<int>((headerOctets * 8 + 6) / 7);
    const int fillBits = headerSeptets * 7 - static_cast<int>(headerOctets) * 8;
    const auto septets = kv820::UnpackSeptets(body, length - headerSeptets, fillBits);
    return septets ? std::optional(kv820::GsmSeptetsToUtf8(*septets)) : std::nullopt;
}

}  // namespace

std::string deliverPdu(const DeliverPduFields& fields) {
    Octets pdu = *numberField(ServiceCentre, 0x81);
    pdu.front() = static_cast<std::uint8_t>(pdu.size() - 1);  // counts octets, not digits
    const Octets header =
        fields.part ? concatenationHeader(*fields.part, fields.sixteenBitReference) : Octets{};
    // No further message waiting, and the header flag.
    pdu.push_back(header.empty() ? 0x04 : 0x44);
    const Octets sender = senderField(fields.sender);
    pdu.insert(pdu.end(), sender.begin(), sender.end());
    const PduEncoding encoding = resolved(fields);
    const std::uint8_t dcs = encoding == PduEncoding::Gsm7       ? 0x00
                             : encoding == PduEncoding::EightBit ? 0x04
                                                                 : 0x08;
    pdu.insert(pdu.end(), {0x00, dcs});
    const Octets stamp = timestampField(fields.stamp);
    pdu.insert(pdu.end(), stamp.begin(), stamp.end());
    const auto [length, data] = userData(fields, encoding, header);
    if (data.size() > MaxUserDataOctets || length > MaxGsmSeptets) {
        throw std::invalid_argument("text does not fit one message: " + fields.text);
    }
    pdu.push_back(static_cast<std::uint8_t>(length));
    pdu.insert(pdu.end(), data.begin(), data.end());
    return hexOf(pdu);
}

std::string statusReportPdu(const StatusReportPduFields& fields) {
    Octets pdu = *numberField(ServiceCentre, 0x81);
    pdu.front() = static_cast<std::uint8_t>(pdu.size() - 1);
    const auto recipient = numberField(fields.recipient, 0x81);
    if (!recipient) {
        throw std::invalid_argument("recipient is not a number: " + fields.recipient);
    }
    pdu.insert(pdu.end(), {0x06, static_cast<std::uint8_t>(fields.messageReference & 0xFF)});
    pdu.insert(pdu.end(), recipient->begin(), recipient->end());
    for (const SmsTimestamp& stamp : {fields.stamp, fields.dischargeTime}) {
        const Octets field = timestampField(stamp);
        pdu.insert(pdu.end(), field.begin(), field.end());
    }
    pdu.push_back(0x00);  // received by the recipient
    return hexOf(pdu);
}

int tpduOctets(std::string_view pduHex) {
    const auto centreLength = octetsOf(pduHex.substr(0, 2));
    if (pduHex.size() < 2 || !centreLength) {
        return -1;
    }
    const int octets = static_cast<int>(pduHex.size() / 2) - 1 - centreLength->front();
    return octets < 0 ? -1 : octets;
}

std::optional<SubmittedSms> decodeSubmitPdu(std::string_view hex) {
    const auto octets = octetsOf(hex);
    if (!octets) {
        return std::nullopt;
    }
    OctetCursor in(*octets);
    in.take(in.next());  // the service centre, usually none ("00")
    const std::uint8_t firstOctet = in.next();
    in.next();  // message reference
    auto destination = destinationOf(in);
    in.next();  // protocol identifier
    const auto encoding = encodingOf(in.next());
    in.take(validityPeriodOctets(firstOctet));
    if (in.failed() || (firstOctet & 0x03) != 0x01 || !destination || !encoding) {
        return std::nullopt;
    }
    auto text = submittedText(in, *encoding, (firstOctet & 0x40) != 0);
    if (!text) {
        return std::nullopt;
    }
    return SubmittedSms{std::move(*destination), std::move(*text)};
}

}  // namespace kv820::sim
