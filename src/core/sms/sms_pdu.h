#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kv820 {

// One part of a concatenated message, from its user-data header (information element 0x00
// with an 8-bit reference, or 0x08 with a 16-bit one).
struct ConcatenatedPart {
    int reference = 0;  // 0..255 or 0..65535
    int total = 0;      // parts in the whole message, 1..255
    int sequence = 0;   // this part's place, 1..total
    bool operator==(const ConcatenatedPart&) const = default;
};

// A received message as a PDU-mode modem hands it over ("+CMGR: <stat>,,<length>" and then
// the PDU as hex), decoded to what a text-mode modem shows of the same message.
struct SmsPduMessage {
    enum class Kind {
        Deliver,       // SMS-DELIVER: a message from a phone or a tracker
        StatusReport,  // SMS-STATUS-REPORT: a network's delivery report, never a report
    };

    Kind kind = Kind::Deliver;
    // The originator as text mode shows it: "+886912345678" for an international number,
    // "0912345678" for any other numeric one, the name for an alphanumeric one (UTF-8).
    // For a status report: the recipient address it reports on.
    std::string sender;
    // The service-centre time stamp as text mode shows it, without quotes:
    // "26/02/01,10:00:00+32", the zone in quarter hours with its sign ("-14" for -03:30).
    std::string timestampText;
    // The user data without its header: GSM 7-bit (extension table included) and UCS-2 as
    // UTF-8; 8-bit data byte for byte. Empty for a status report.
    std::string text;
    // Set when the user-data header names this message a part of a longer one.
    std::optional<ConcatenatedPart> part;
};

// Decodes a received PDU given as hex (either case), starting with the service-centre
// address as "+CMGR" and "+CMGL" give it. Anything that is not a whole SMS-DELIVER or
// SMS-STATUS-REPORT (odd or non-hex digits, a length pointing past the end, another
// message type) gives nullopt: not a message.
std::optional<SmsPduMessage> decodeSmsPdu(std::string_view hex);

// An SMS-SUBMIT ready for "at+cmgs=<tpduOctets>": the hex to write after the prompt (with
// an empty service-centre part, "00", so that the modem uses its own centre).
struct SmsSubmitPdu {
    std::string hex;     // upper case
    int tpduOctets = 0;  // octets after the service-centre part
    bool operator==(const SmsSubmitPdu&) const = default;
};

// Encodes `text` (UTF-8) for `destination` ("+886912345678" international, any other digit
// string as unknown type; '*' and '#' allowed), in the GSM 7-bit default alphabet with its
// extension table when every character is in it, and UCS-2 otherwise. Nullopt when the
// destination is empty or holds another character, when the text is not valid UTF-8, or
// when it does not fit one message (160 septets, or 70 UCS-2 code units).
std::optional<SmsSubmitPdu> encodeSmsSubmit(std::string_view destination, std::string_view text);

}  // namespace kv820
