#include "sim/pdu_format.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <stdexcept>
#include <utility>
#include <vector>

#include "core/sms/gsm_alphabet.h"
#include "core/sms/sms_pdu_fields.h"

namespace kv820::sim {
namespace {

using Octets = std::vector<std::uint8_t>;

// A made-up centre of the simulated network.
constexpr std::string_view ServiceCentre = "+886935874443";
constexpr std::size_t MaxUserDataOctets = 140;
constexpr int MaxGsmSeptets = 160;
constexpr int MaxNameSeptets = 11;

std::u32string codePointsOf(std::string_view text) {
    auto codePoints = kv820::utf8CodePoints(text);
    if (!codePoints) {
        throw std::invalid_argument("not UTF-8: " + std::string(text));
    }
    return *codePoints;
}

// Septets of the text; characters outside the alphabet as '?', as a phone sends them.
Octets gsmSeptetsOf(std::string_view text) {
    Octets septets;
    for (const char32_t c : codePointsOf(text)) {
        const Octets one = kv820::gsmSeptetsOf(c);
        septets.insert(septets.end(), one.begin(), one.end());
        if (one.empty()) {
            septets.push_back('?');
        }
    }
    return septets;
}

Octets senderField(std::string_view sender) {
    if (auto number = kv820::numberAddressField(sender, 0xA1)) {
        return *number;
    }
    const Octets septets = gsmSeptetsOf(sender);
    if (septets.size() > MaxNameSeptets) {
        throw std::invalid_argument("sender name too long: " + std::string(sender));
    }
    const Octets packed = kv820::packSeptets(septets, 0);
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
    const bool fits = kv820::gsmSeptetsOfText(codePointsOf(fields.text)).has_value();
    return fits ? PduEncoding::Gsm7 : PduEncoding::Ucs2;
}

// The user-data length and the user data, header first; 7-bit text starts on the septet
// boundary after the header.
std::pair<int, Octets> userData(const DeliverPduFields& fields, PduEncoding encoding, Octets data) {
    if (encoding == PduEncoding::Gsm7) {
        const Octets septets = gsmSeptetsOf(fields.text);
        const int headerSeptets = static_cast<int>((data.size() * 8 + 6) / 7);
        const int fillBits = headerSeptets * 7 - static_cast<int>(data.size()) * 8;
        const Octets packed = kv820::packSeptets(septets, fillBits);
        data.insert(data.end(), packed.begin(), packed.end());
        return {headerSeptets + static_cast<int>(septets.size()), data};
    }
    if (encoding == PduEncoding::Ucs2) {
        const Octets units = kv820::ucs2Octets(codePointsOf(fields.text));
        data.insert(data.end(), units.begin(), units.end());
    } else {
        data.insert(data.end(), fields.text.begin(), fields.text.end());
    }
    return {static_cast<int>(data.size()), data};
}

}  // namespace

std::string deliverPdu(const DeliverPduFields& fields) {
    Octets pdu = *kv820::numberAddressField(ServiceCentre, 0x81);
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
    return kv820::hexFromOctets(pdu);
}

std::string statusReportPdu(const StatusReportPduFields& fields) {
    Octets pdu = *kv820::numberAddressField(ServiceCentre, 0x81);
    pdu.front() = static_cast<std::uint8_t>(pdu.size() - 1);
    const auto recipient = kv820::numberAddressField(fields.recipient, 0x81);
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
    return kv820::hexFromOctets(pdu);
}

int tpduOctets(std::string_view pduHex) {
    const auto centreLength = kv820::octetsFromHex(pduHex.substr(0, 2));
    if (pduHex.size() < 2 || !centreLength) {
        return -1;
    }
    const int octets = static_cast<int>(pduHex.size() / 2) - 1 - centreLength->front();
    return octets < 0 ? -1 : octets;
}

std::optional<SubmittedSms> decodeSubmitPdu(std::string_view hex) {
    const auto octets = kv820::octetsFromHex(hex);
    if (!octets) {
        return std::nullopt;
    }
    kv820::OctetReader in(*octets);
    in.octets(in.octet());  // the service centre, usually none ("00")
    const std::uint8_t firstOctet = in.octet();
    in.octet();  // message reference
    auto destination = kv820::readAddress(in);
    in.octet();  // protocol identifier
    const std::uint8_t dataCoding = in.octet();
    // The validity period's octets by its format: none, enhanced, relative, absolute.
    constexpr std::size_t ValidityOctets[] = {0, 7, 1, 7};
    in.octets(ValidityOctets[(firstOctet >> 3) & 0x03]);
    if (in.hasFailed() || (firstOctet & 0x03) != 0x01 || !destination || destination->empty()) {
        return std::nullopt;
    }
    auto userData = kv820::readUserData(in, dataCoding, (firstOctet & 0x40) != 0);
    // Strict, for it checks what the program sends: nothing may follow the user data.
    if (!userData || !in.atEnd()) {
        return std::nullopt;
    }
    return SubmittedSms{std::move(*destination), std::move(userData->text)};
}

}  // namespace kv820::sim
