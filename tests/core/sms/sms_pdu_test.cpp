// Received PDUs decoded to what text mode shows, and outgoing texts encoded for "at+cmgs".
#include "core/sms/sms_pdu.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "core/sms/gsm_alphabet.h"

namespace kv820 {
namespace {

using Part = std::optional<ConcatenatedPart>;

// The service centre +886935874443, then an SMS-DELIVER.
const std::string Centre = "0791889653784434";
const std::string FromInternational = "0C91889621436587";  // 12 digits, +886912345678
const std::string Stamp = "62201001000023";                // 26/02/01,10:00:00+32

// An SMS-DELIVER from +886912345678 stamped 26/02/01,10:00:00+32, without centre.
std::string deliver(const std::string& firstOctet, const std::string& dcs, const std::string& udl,
                    const std::string& ud) {
    return "00" + firstOctet + FromInternational + "00" + dcs + Stamp + udl + ud;
}

std::string hex(const std::vector<std::uint8_t>& octets) {
    std::string hex;
    for (const std::uint8_t octet : octets) {
        hex += "0123456789ABCDEF"[octet >> 4];
        hex += "0123456789ABCDEF"[octet & 0x0F];
    }
    return hex;
}

struct DecodeCase {
    const char* name;
    std::string hex;
    SmsPduMessage::Kind kind;
    std::string sender;
    std::string stamp;
    std::string text;
    Part part;
};

const std::vector<DecodeCase> HandDerived{
    // 0791889653784434 | 04 | 0C 91 889621436587 | 00 | 00 | 62201001000023 | 05 | E8329BFD06
    // SCA | DELIVER, no more messages | sender | PID | GSM7 | stamp | 5 septets | "hello"
    {"gsm7",
     Centre + "04" + FromInternational + "0000" + Stamp + "05E8329BFD06",
     SmsPduMessage::Kind::Deliver,
     "+886912345678",
     "26/02/01,10:00:00+32",
     "hello",
     {}},
    // 04 | 09 D0 4B2B4E0603 (9 semi-octets: 5 packed septets "KV820") | 00 | 08 UCS-2 |
    // 62201001000049 (zone 0x49: sign bit, tens 1, units 4) | 0C | 041F 0440 0438 0432 0435 0442
    {"alphanumeric ucs2 negative zone",
     Centre + "0409D04B2B4E06030008" + "62201001000049" + "0C041F04400438043204350442",
     SmsPduMessage::Kind::Deliver,
     "KV820",
     "26/02/01,10:00:00-14",
     "Привет",
     {}},
    // 44 (header) | 07 A1 902143F5 (national, odd: F filler) | 00 | 00 | stamp | 09 septets |
    // 05 00 03 2A 02 01 (6 octets = 7 septets, 1 fill bit) | 9069 ("Hi" shifted by one bit)
    {"8-bit reference, 1 fill bit",
     "0044"
     "07A1902143F5"
     "0000" +
         Stamp +
         "09"
         "0500032A0201"
         "9069",
     SmsPduMessage::Kind::Deliver, "0912345", "26/02/01,10:00:00+32", "Hi",
     ConcatenatedPart{42, 2, 1}},
    // 44 | ... | 0A septets | 06 08 04 1234 03 03 (7 octets = 8 septets, no fill) | C834 "Hi"
    {"16-bit reference", deliver("44", "00", "0A", "06080412340303C834"),
     SmsPduMessage::Kind::Deliver, "+886912345678", "26/02/01,10:00:00+32", "Hi",
     ConcatenatedPart{0x1234, 3, 3}},
    // 0D septets | 08 | 70 01 FF (skipped) | 00 03 07 04 02 | 009906: 9 octets = 11 septets,
    // 5 fill bits before "Hi"
    {"unknown element skipped, 5 fill bits", deliver("44", "00", "0D", "087001FF0003070402009906"),
     SmsPduMessage::Kind::Deliver, "+886912345678", "26/02/01,10:00:00+32", "Hi",
     ConcatenatedPart{7, 4, 2}},
    // 8-bit data with the same header: 0B octets = 9 header + "AB"
    {"8-bit data", deliver("44", "04", "0B", "087001FF00030704024142"),
     SmsPduMessage::Kind::Deliver, "+886912345678", "26/02/01,10:00:00+32", "AB",
     ConcatenatedPart{7, 4, 2}},
    {"part of none",
     deliver("44", "04", "07", "05000301000041"),
     SmsPduMessage::Kind::Deliver,
     "+886912345678",
     "26/02/01,10:00:00+32",
     "A",
     {}},
    {"part past the total",
     deliver("44", "04", "07", "05000301020341"),
     SmsPduMessage::Kind::Deliver,
     "+886912345678",
     "26/02/01,10:00:00+32",
     "A",
     {}},
    // Extension table: 1B 3C | 1B 65 | 1B 3E packed into 1BDEA6BCF101; a '*#1' sender
    // (0381 | BA F1)
    {"extension characters",
     "000403"
     "81BAF1"
     "0000" +
         Stamp + "061BDEA6BCF101",
     SmsPduMessage::Kind::Deliver,
     "*#1",
     "26/02/01,10:00:00+32",
     "[€]",
     {}},
    // 06 STATUS-REPORT | 2A MR | recipient | SCTS | discharge 62201001000523 | 00 status
    {"status report",
     "00062A" + FromInternational + Stamp + "6220100100052300",
     SmsPduMessage::Kind::StatusReport,
     "+886912345678",
     "26/02/01,10:00:00+32",
     "",
     {}},
};

TEST(SmsPdu, DecodesHandDerivedVectors) {
    for (const DecodeCase& c : HandDerived) {
        SCOPED_TRACE(c.name);
        const auto message = decodeSmsPdu(c.hex);
        ASSERT_TRUE(message.has_value());
        EXPECT_EQ(message->kind, c.kind);
        EXPECT_EQ(message->sender, c.sender);
        EXPECT_EQ(message->timestampText, c.stamp);
        EXPECT_EQ(message->text, c.text);
        EXPECT_EQ(message->part, c.part);
    }
}

TEST(SmsPdu, EveryTruncationOfAValidPduIsNotAMessage) {
    for (const DecodeCase& c : HandDerived) {
        SCOPED_TRACE(c.name);
        for (std::size_t length = 0; length < c.hex.size(); ++length) {
            EXPECT_FALSE(decodeSmsPdu(c.hex.substr(0, length))) << length;
        }
        std::string lower = c.hex;
        for (char& ch : lower) {
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        }
        EXPECT_TRUE(decodeSmsPdu(lower));
    }
}

TEST(SmsPdu, DataCodingSchemesPickTheAlphabet) {
    // The same two octets C8 34 read as 7-bit "Hi", as bytes, or as the unit U+C834.
    const std::string gsm = "Hi",
                      bytes =
                          "\xC8"
                          "4",
                      ucs2 = "\xEC\xA0\xB4";
    const std::vector<std::pair<const char*, std::string>> cases{
        {"00", gsm},   {"04", bytes}, {"08", ucs2},  {"0C", gsm},  {"12", gsm}, {"16", bytes},
        {"20", bytes}, {"28", bytes}, {"48", ucs2},  {"80", gsm},  {"C8", gsm}, {"D0", gsm},
        {"E0", ucs2},  {"F0", gsm},   {"F4", bytes}, {"F7", bytes}};
    for (const auto& [dcs, text] : cases) {
        SCOPED_TRACE(dcs);
        const auto message = decodeSmsPdu(deliver("04", dcs, "02", "C834"));
        ASSERT_TRUE(message.has_value());
        EXPECT_EQ(message->text, text);
    }
}

TEST(SmsPdu, MalformedPdusAreNotMessages) {
    const std::vector<std::pair<const char*, std::string>> cases{
        {"odd length", deliver("04", "00", "05", "E8329BFD06") + "0"},
        {"non-hex", deliver("04", "00", "05", "E8329BFD0G")},
        {"blank inside", deliver("04", "00", "05", "E8329BFD 6")},
        {"centre past the end", "0891889653"},
        {"submit type", deliver("01", "00", "05", "E8329BFD06")},
        {"reserved type", deliver("03", "00", "05", "E8329BFD06")},
        {"address too long",
         "0004"
         "16919999999999999999999999"
         "0000" +
             Stamp + "00"},
        {"filler inside address",
         "0004"
         "0491F121"
         "0000" +
             Stamp + "00"},
        {"stamp not decimal", "0004" + FromInternational +
                                  "0000"
                                  "6A201001000023"
                                  "00"},
        {"header past the data", deliver("44", "04", "03", "050003")},
        {"element past the header", deliver("44", "04", "05", "0400030102")},
        {"header longer than the septets", deliver("44", "00", "06", "0500032A0201")},
        {"odd UCS-2", deliver("04", "08", "03", "004100")},
        {"more than 140 octets", deliver("04", "04", "8D", std::string(282, 'A'))},
        {"more than 160 septets", deliver("04", "00", "A1", std::string(282, 'A'))},
        {"status report without status", "00062A" + FromInternational + Stamp + Stamp},
    };
    for (const auto& [name, hex] : cases) {
        EXPECT_FALSE(decodeSmsPdu(hex)) << name;
    }
}

TEST(GsmAlphabet, PacksSeptetsLowBitFirstAtEveryLength) {
    // '@' (0), 'à' (0x7F) and '_' (0x11) put zeros and ones at every bit position.
    const std::u32string pattern = U"@àa_Z1? ";
    for (const std::size_t length : {1, 2, 3, 4, 5, 6, 7, 8, 9, 16, 160}) {
        SCOPED_TRACE(length);
        std::u32string text;
        while (text.size() < length) {
            text += pattern[text.size() % pattern.size()];
        }
        const auto septets = gsmSeptetsOfText(text);
        ASSERT_TRUE(septets.has_value());
        const std::vector<std::uint8_t> packed = packSeptets(*septets, 0);
        ASSERT_EQ(packed.size(), (septets->size() * 7 + 7) / 8);
        for (std::size_t bit = 0; bit < packed.size() * 8; ++bit) {
            const int expected =
                bit / 7 < septets->size() ? (*septets)[bit / 7] >> (bit % 7) & 1 : 0;
            ASSERT_EQ(packed[bit / 8] >> (bit % 8) & 1, expected) << "bit " << bit;
        }
        // And back through a received message of the same user data.
        std::string utf8;
        for (const char32_t c : text) {
            appendUtf8(c, utf8);
        }
        const std::string udl = hex({static_cast<std::uint8_t>(length)});
        const auto message = decodeSmsPdu(deliver("04", "00", udl, hex(packed)));
        ASSERT_TRUE(message.has_value());
        EXPECT_EQ(message->text, utf8);
    }
}

TEST(GsmAlphabet, EscapesAndTableCorners) {
    EXPECT_EQ(gsmSeptetsOf(U'@'), std::vector<std::uint8_t>{0x00});
    EXPECT_EQ(gsmSeptetsOf(U' '), std::vector<std::uint8_t>{0x20});
    EXPECT_EQ(gsmSeptetsOf(U'à'), std::vector<std::uint8_t>{0x7F});
    EXPECT_EQ(gsmSeptetsOf(U'€'), (std::vector<std::uint8_t>{0x1B, 0x65}));
    EXPECT_EQ(gsmSeptetsOf(U'^'), (std::vector<std::uint8_t>{0x1B, 0x14}));
    EXPECT_EQ(gsmSeptetsOf(U'\\'), (std::vector<std::uint8_t>{0x1B, 0x2F}));
    EXPECT_TRUE(gsmSeptetsOf(U'ç').empty());
    EXPECT_TRUE(gsmSeptetsOf(U'`').empty());
    // An escape before a code the extension lacks reads as the main table; a lone one as space.
    EXPECT_EQ(gsmSeptetsToUtf8(std::vector<std::uint8_t>{0x1B, 0x41, 0x1B}), "A ");
}

struct EncodeCase {
    const char* name;
    std::string destination;
    std::string text;
    std::optional<SmsSubmitPdu> expected;
};

TEST(SmsPdu, EncodesSubmitsAndRefusesWhatDoesNotFit) {
    const std::string a160(160, 'a'), zhe70 = [] {
        std::string s;
        for (int i = 0; i < 70; ++i)
            s += "Ж";
        return s;
    }();
    const std::string emoji = "\xF0\x9F\x98\x80";  // U+1F600, units D83D DE00
    const std::vector<EncodeCase> cases{
        // 00 | 11 SUBMIT, relative VP | 00 MR | 0C 91 889621436587 | 00 | 00 GSM7 | AA | 05 |
        // E8329BFD06
        {"gsm7", "+886912345678", "hello",
         SmsSubmitPdu{"0011000C918896214365870000AA05E8329BFD06", 19}},
        // 0381 BAF1 ('*', '#', '1' and the filler) | 00 | 00 | AA | 06 | 1BDEA6BCF101
        {"extension", "*#1", "[€]", SmsSubmitPdu{"0011000381BAF10000AA061BDEA6BCF101", 16}},
        // 07 81 902143F5 | 00 | 08 UCS-2 | AA | 04 | D83D DE00
        {"surrogate pair", "0912345", emoji,
         SmsSubmitPdu{"0011000781902143F50008AA04D83DDE00", 16}},
        {"empty text", "1", "", SmsSubmitPdu{"0011000181F10000AA00", 9}},
        {"161 septets", "1", a160 + "a", std::nullopt},
        {"extension past 160", "1", a160.substr(1) + "{", std::nullopt},
        {"71 units", "1", zhe70 + "Ж", std::nullopt},
        {"pair past 70", "1", zhe70.substr(2) + emoji, std::nullopt},
        {"overlong UTF-8", "1", "\xC0\x80", std::nullopt},
        {"cut UTF-8", "1", "\xE2\x82", std::nullopt},
        {"surrogate in UTF-8", "1", "\xED\xA0\x80", std::nullopt},
        {"empty destination", "", "a", std::nullopt},
        {"plus only", "+", "a", std::nullopt},
        {"letter", "0912a", "a", std::nullopt},
        {"blank", "+886 912", "a", std::nullopt},
        {"inner plus", "0+1", "a", std::nullopt},
        {"21 digits", std::string(21, '9'), "a", std::nullopt},
    };
    for (const EncodeCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(encodeSmsSubmit(c.destination, c.text), c.expected);
    }
    // The limits are reached, not merely not exceeded: 9 octets before the user data.
    for (const std::string& full : {a160, a160.substr(2) + "{", zhe70, zhe70.substr(4) + emoji}) {
        const auto pdu = encodeSmsSubmit("1", full);
        ASSERT_TRUE(pdu.has_value());
        EXPECT_EQ(pdu->tpduOctets, 9 + 140);
        EXPECT_EQ(pdu->hex.size(), 2 + 2 * (9 + 140u));
    }
    EXPECT_TRUE(encodeSmsSubmit(std::string(20, '9'), "a"));
}

}  // namespace
}  // namespace kv820
