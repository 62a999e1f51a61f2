#include "core/sms/sms_pdu.h"

#include <cstdint>
#include <span>
#include <vector>

#include "core/sms/gsm_alphabet.h"
#include "core/sms/sms_pdu_fields.h"

namespace kv820 {

namespace {

constexpr int MaxGsmSeptets = 160;
constexpr int MaxUcs2Octets = 140;

// "yy/MM/dd,hh:mm:ss±zz" from seven octets of swapped decimal digits; the zone's tens digit
// carries the sign in its top bit.
std::optional<std::string> readTimestamp(OctetReader& in) {
    const std::span<const std::uint8_t> octets = in.octets(7);
    if (in.hasFailed()) {
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

std::optional<SmsPduMessage> readDeliver(OctetReader& in, std::uint8_t firstOctet) {
    SmsPduMessage message;
    auto sender = readAddress(in);
    in.octet();  // protocol identifier: a tracker's reports use the plain one
    const std::uint8_t dcs = in.octet();
    auto timestamp = readTimestamp(in);
    if (!sender || !timestamp) {
        return std::nullopt;
    }
    auto userData = readUserData(in, dcs, (firstOctet & 0x40) != 0);
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
std::optional<SmsPduMessage> readStatusReport(OctetReader& in) {
    in.octet();  // message reference
    auto recipient = readAddress(in);
    auto timestamp = readTimestamp(in);
    const bool dischargeTime = readTimestamp(in).has_value();
    in.octet();  // status
    if (!recipient || !timestamp || !dischargeTime || in.hasFailed()) {
        return std::nullopt;
    }
    SmsPduMessage message;
    message.kind = SmsPduMessage::Kind::StatusReport;
    message.sender = std::move(*recipient);
    message.timestampText = std::move(*timestamp);
    return message;
}

}  // namespace

std::optional<SmsPduMessage> decodeSmsPdu(std::string_view hex) {
    const auto octets = octetsFromHex(hex);
    if (!octets) {
        return std::nullopt;
    }
    OctetReader in(*octets);
    in.octets(in.octet());  // the service centre's address, which the text does not show
    const std::uint8_t firstOctet = in.octet();
    if (in.hasFailed()) {
        return std::nullopt;
    }
    switch (firstOctet & 0x03) {
        case 0x00:
            return readDeliver(in, firstOctet);
        case 0x02:
            return readStatusReport(in);
        default:
            return std::nullopt;
    }
}

std::optional<SmsSubmitPdu> encodeSmsSubmit(std::string_view destination, std::string_view text) {
    const auto address = numberAddressField(destination, 0x81);
    const auto codePoints = utf8CodePoints(text);
    if (!address || !codePoints) {
        return std::nullopt;
    }
    // Relative validity period of 4 days: long enough for a tracker that is out of coverage.
    std::vector<std::uint8_t> tpdu{0x11, 0x00};
    tpdu.insert(tpdu.end(), address->begin(), address->end());
    const auto septets = gsmSeptetsOfText(*codePoints);
    std::vector<std::uint8_t> userData;
    int length = 0;
    if (septets) {
        length = static_cast<int>(septets->size());
        userData = packSeptets(*septets, 0);
    } else {
        userData = ucs2Octets(*codePoints);
        length = static_cast<int>(userData.size());
    }
    if (length > (septets ? MaxGsmSeptets : MaxUcs2Octets)) {
        return std::nullopt;
    }
    const std::uint8_t dcs = septets ? 0x00 : 0x08;
    tpdu.insert(tpdu.end(), {0x00, dcs, 0xAA, static_cast<std::uint8_t>(length)});
    tpdu.insert(tpdu.end(), userData.begin(), userData.end());
    return SmsSubmitPdu{"00" + hexFromOctets(tpdu), static_cast<int>(tpdu.size())};
}

}  // namespace kv820
