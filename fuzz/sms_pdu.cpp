// Any modem text as a received PDU, and any bytes as the octets of one.

#include "core/sms/sms_pdu.h"
#include "fuzz_check.h"

namespace {

void CheckDecoded(std::string_view hex) {
    const std::optional<kv820::SmsPduMessage> message = kv820::decodeSmsPdu(hex);
    if (!message) {
        return;
    }
    // The joining of parts counts on a sane place in the whole.
    if (message->part) {
        FUZZ_CHECK(message->part->sequence >= 1);
        FUZZ_CHECK(message->part->sequence <= message->part->total);
        FUZZ_CHECK(message->part->total <= 255);
        FUZZ_CHECK(message->part->reference >= 0 && message->part->reference <= 0xFFFF);
    }
    FUZZ_CHECK(message->timestampText.size() == 20);  // "yy/MM/dd,hh:mm:ss+zz"
    FUZZ_CHECK(message->kind == kv820::SmsPduMessage::Kind::Deliver || message->text.empty());
    // Whatever came in may go out again: refused, or "at+cmgs=" announces the right length.
    const std::optional<kv820::SmsSubmitPdu> reply =
        kv820::encodeSmsSubmit("+886912345678", message->text);
    if (reply) {
        FUZZ_CHECK(reply->hex.size() == 2 + 2 * static_cast<std::size_t>(reply->tpduOctets));
        FUZZ_CHECK(reply->hex.starts_with("00"));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckDecoded(std::string_view(reinterpret_cast<const char*>(data), size));
    // The same bytes as the octets of a PDU, so that mutations reach past the hex check.
    std::string hex;
    for (std::size_t i = 0; i < size; ++i) {
        hex.push_back("0123456789ABCDEF"[data[i] >> 4]);
        hex.push_back("0123456789ABCDEF"[data[i] & 0x0F]);
    }
    CheckDecoded(hex);
    return 0;
}
