#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/sms/sms_pdu.h"
#include "sim/sms_timestamp.h"

namespace kv820::sim {

// PDU-mode renderings of the messages the simulated modem stores and of those it is asked
// to send: what a real modem hands over after "+CMGR: <stat>,,<length>" and what it takes
// after the "at+cmgs=<length>" prompt. Hex is upper case.

enum class PduEncoding {
    Automatic,  // the 7-bit default alphabet when every character is in it, else UCS-2
    Gsm7,       // characters outside the alphabet become '?'
    EightBit,   // the text's bytes as they are
    Ucs2,
};

struct DeliverPduFields {
    // "+886912345678" international, "0912345678" national, anything else a name sent as
    // an alphanumeric address (at most 11 characters).
    std::string sender;
    SmsTimestamp stamp;
    std::string text;  // UTF-8
    PduEncoding encoding = PduEncoding::Automatic;
    // A user-data header naming the message a part, with an 8-bit or a 16-bit reference.
    std::optional<kv820::ConcatenatedPart> part;
    bool sixteenBitReference = false;
};

// An SMS-DELIVER with the simulated network's service-centre address in front. Throws
// std::invalid_argument when the sender or the text does not fit one message, or the text
// is not UTF-8.
std::string deliverPdu(const DeliverPduFields& fields);

struct StatusReportPduFields {
    int messageReference = 0;
    std::string recipient;  // "+digits" or digits
    SmsTimestamp stamp;     // when the centre took the message
    SmsTimestamp dischargeTime;
};

// An SMS-STATUS-REPORT saying that the message was received (status 0). Throws
// std::invalid_argument for a recipient that is not a number.
std::string statusReportPdu(const StatusReportPduFields& fields);

// The octets after the service-centre part, as "+CMGR" and "+CMGL" give the length; -1
// when the hex is too short for the part its first octet announces.
int tpduOctets(std::string_view pduHex);

struct SubmittedSms {
    std::string destination;  // "+digits" for an international number, digits otherwise
    std::string text;         // UTF-8; 8-bit data byte for byte
};

// An SMS-SUBMIT as written after the "at+cmgs=" prompt, service-centre part first. Nullopt
// for anything that is not one whole SMS-SUBMIT.
std::optional<SubmittedSms> decodeSubmitPdu(std::string_view hex);

}  // namespace kv820::sim
