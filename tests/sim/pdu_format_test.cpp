// The simulator's PDUs against the program's codec: what the simulated modem hands over
// decodes to what it was given, and what the program sends decodes back byte for byte.
#include "sim/pdu_format.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/sms/sms_pdu.h"

namespace kv820::sim {
namespace {

const SmsTimestamp Stamp{2026, 2, 1, 10, 0, 0, 32};
const std::string Zhe = "Ж";
const std::string Emoji = "\xF0\x9F\x98\x80";

std::string repeated(const std::string& piece, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += piece;
    }
    return text;
}

DeliverPduFields fields(std::string sender, const SmsTimestamp& stamp, std::string text,
                        PduEncoding encoding = PduEncoding::Automatic,
                        std::optional<ConcatenatedPart> part = {}, bool sixteenBit = false) {
    return DeliverPduFields{std::move(sender), stamp, std::move(text), encoding, part, sixteenBit};
}

TEST(DeliverPdu, WritesTheFieldsInTheirPlaces) {
    // 07 91 889653784434 | 04 | 0C 91 889621436587 | 00 | 00 | 62201001000023 | 05 | E8329BFD06
    const std::string pdu = deliverPdu(fields("+886912345678", Stamp, "hello"));
    EXPECT_EQ(pdu,
              "0791889653784434"
              "04"
              "0C91889621436587"
              "00"
              "00"
              "62201001000023"
              "05"
              "E8329BFD06");
    EXPECT_EQ(tpduOctets(pdu), 24);  // 1 + 8 + 1 + 1 + 7 + 1 + 5 after the centre's 8
    EXPECT_EQ(tpduOctets("07918896"), -1);
    EXPECT_EQ(tpduOctets(""), -1);
}

struct DeliverCase {
    const char* name;
    DeliverPduFields fields;
    std::string sender;
    std::string stamp;
    std::string text;
};

TEST(DeliverPdu, DecodesBackToItsFieldsInEveryEncoding) {
    const ConcatenatedPart first{42, 2, 1}, last{0x1234, 3, 3};
    const SmsTimestamp west{2025, 12, 31, 23, 59, 58, -14};
    const std::string at = "26/02/01,10:00:00+32";
    const std::vector<DeliverCase> cases{
        {"automatic 7-bit", fields("+886912345678", Stamp, "hello"), "+886912345678", at, "hello"},
        {"extension after a header",
         fields("0912345678", west, "[€]{}^\\~|", PduEncoding::Gsm7, first), "0912345678",
         "25/12/31,23:59:58-14", "[€]{}^\\~|"},
        {"automatic UCS-2, 16-bit reference",
         fields("KV820 Track", Stamp, "Привет " + Emoji, PduEncoding::Automatic, last, true),
         "KV820 Track", at, "Привет " + Emoji},
        {"8-bit", fields("*#1", Stamp, "raw\x01\xFF", PduEncoding::EightBit), "*#1", at,
         "raw\x01\xFF"},
        {"7-bit forced", fields("Ab", Stamp, "Ж1", PduEncoding::Gsm7), "Ab", at, "?1"},
        {"160 septets", fields("1", Stamp, std::string(160, 'x')), "1", at, std::string(160, 'x')},
        {"153 septets after a header",
         fields("1", Stamp, std::string(153, '@'), PduEncoding::Gsm7, first), "1", at,
         std::string(153, '@')},
        {"67 units after a header", fields("1", Stamp, repeated(Zhe, 67), PduEncoding::Ucs2, first),
         "1", at, repeated(Zhe, 67)},
    };
    for (const DeliverCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string pdu = deliverPdu(c.fields);
        const auto message = kv820::decodeSmsPdu(pdu);
        ASSERT_TRUE(message.has_value());
        EXPECT_EQ(message->kind, kv820::SmsPduMessage::Kind::Deliver);
        EXPECT_EQ(message->sender, c.sender);
        EXPECT_EQ(message->timestampText, c.stamp);
        EXPECT_EQ(message->text, c.text);
        EXPECT_EQ(message->part, c.fields.part);
        EXPECT_EQ(tpduOctets(pdu), static_cast<int>(pdu.size() / 2) - 8);
    }
    EXPECT_THROW(deliverPdu(fields("1", Stamp, std::string(161, 'x'))), std::invalid_argument);
    EXPECT_THROW(deliverPdu(fields("1", Stamp, repeated(Zhe, 68), PduEncoding::Ucs2, first)),
                 std::invalid_argument);
    EXPECT_THROW(deliverPdu(fields("Twelve chars", Stamp, "x")), std::invalid_argument);
}

TEST(StatusReportPdu, DecodesAsAReportOnItsRecipient) {
    const auto message = kv820::decodeSmsPdu(
        statusReportPdu({7, "+886912345678", Stamp, {2026, 2, 1, 10, 0, 50, 32}}));
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(message->kind, kv820::SmsPduMessage::Kind::StatusReport);
    EXPECT_EQ(message->sender, "+886912345678");
    EXPECT_EQ(message->timestampText, "26/02/01,10:00:00+32");
    EXPECT_EQ(message->text, "");
}

TEST(SubmitPdu, WhatTheProgramSendsDecodesBackByteForByte) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"+886912345678", "?1,356789012345678!"},
        {"0912345", "@£$¥èéùìòÇ\nØø\rÅåΔ_ΦΓΛΩΠΨΣΘΞÆæßÉ !\"#¤%&'()*+,-./:;<=>?¡ÄÖÑÜ§¿äöñüà"},
        {"*#1", "\f^{}\\[~]|€"},
        {"12345678901234567890", std::string(160, 'z')},
        {"+1", "Привет " + Emoji},
        {"+1", repeated(Zhe, 70)},
        {"+1", "ç"},  // not the alphabet's 'Ç': sent in UCS-2 so that it arrives as written
        {"+1", ""},
    };
    for (const auto& [destination, text] : cases) {
        SCOPED_TRACE(text);
        const auto pdu = kv820::encodeSmsSubmit(destination, text);
        ASSERT_TRUE(pdu.has_value());
        EXPECT_EQ(tpduOctets(pdu->hex), pdu->tpduOctets);
        const auto submitted = decodeSubmitPdu(pdu->hex);
        ASSERT_TRUE(submitted.has_value());
        EXPECT_EQ(submitted->destination, destination);
        EXPECT_EQ(submitted->text, text);
    }
}

TEST(SubmitPdu, ReadsEveryValidityPeriodFormatAndRefusesTheMalformed) {
    const std::string to = "0C91889621436587", hello = "05E8329BFD06";
    // First octet: 01 no period, 09 enhanced (7 octets), 11 relative (1), 19 absolute (7).
    const std::vector<std::string> valid{
        "000100" + to + "0000" + hello,
        "000900" + to +
            "0000"
            "01000000000000" +
            hello,
        "001100" + to +
            "0000"
            "AA" +
            hello,
        "07918896537844341900" + to +
            "0000"
            "62201001000023" +
            hello,
    };
    for (const std::string& hex : valid) {
        SCOPED_TRACE(hex);
        const auto submitted = decodeSubmitPdu(hex);
        ASSERT_TRUE(submitted.has_value());
        EXPECT_EQ(submitted->destination, "+886912345678");
        EXPECT_EQ(submitted->text, "hello");
        for (std::size_t length = 0; length < hex.size(); ++length) {
            EXPECT_FALSE(decodeSubmitPdu(hex.substr(0, length))) << length;
        }
    }
    // 51: header flag | 04 8-bit | 08 octets: header 05 00 03 01 02 01, then "AB"
    const auto withHeader = decodeSubmitPdu("005100" + to +
                                            "0004AA08"
                                            "050003010201"
                                            "4142");
    ASSERT_TRUE(withHeader.has_value());
    EXPECT_EQ(withHeader->text, "AB");
    const std::vector<std::string> malformed{
        "001100" + to + "0000AA" + hello + "00",  // an octet past the user data
        "000400" + to + "0000AA" + hello,         // a deliver, not a submit
        "0011000081"
        "0000AA" +
            hello,                             // no destination
        "001100" + to + "0008AA03004100",      // odd UCS-2
        "001100" + to + "0000AA05E8329BFD0G",  // not hex
        "001100" + to + "0000AA05E8329BFD0",   // odd length
    };
    for (const std::string& hex : malformed) {
        EXPECT_FALSE(decodeSubmitPdu(hex)) << hex;
    }
}

}  // namespace
}  // namespace kv820::sim
