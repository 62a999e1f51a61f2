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

std::optional<SmsPduMessage> ReadDeliver(OctetReader& in, std::uint8_t firstOctet) {
    SmsPduMessage message;
    auto sender = ReadAddress(in);
    in.Octet();  // protocol identifier: a tracker's reports use the plain one
    const std::uint8_t dcs = in.Octet();
    auto timestamp = ReadTimestamp(in);
    if (!sender || !timestamp) {
        return std::nullopt;
    }
    auto userData = ReadUserData(in, dcs, (firstOctet & 0x40) != 0);
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
    const auto address = NumberAddressField(destination, 0x81);
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
