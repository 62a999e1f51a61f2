#include "core/setup/tracker_identity.h"

#include "core/commands/input_validators.h"

namespace kv820 {

namespace {

constexpr std::size_t FirmwareVersionOffset = 15;
constexpr std::size_t ImeiOffset = 10;
constexpr std::size_t ImeiRetryOffset = 18;
constexpr std::size_t ImeiLength = 15;

std::string_view from(std::string_view text, std::size_t offset, std::size_t count) {
    return offset < text.size() ? text.substr(offset, count) : std::string_view{};
}

}  // namespace

std::string firmwareVersionFromReply(std::string_view reply) {
    if (reply.find("KV-820") == std::string_view::npos) {
        return std::string(UnknownFirmwareVersion);
    }
    if (reply.find("tr+fwv") == std::string_view::npos) {
        return {};
    }
    const std::string_view rest = from(reply, FirmwareVersionOffset, std::string_view::npos);
    const std::size_t close = rest.find(')');
    return close == std::string_view::npos ? std::string{} : std::string(rest.substr(0, close + 1));
}

std::string imeiFromReply(std::string_view reply) {
    const std::string_view first = from(reply, ImeiOffset, ImeiLength);
    if (IsDigitString(first)) {
        return std::string(first);
    }
    return std::string(from(reply, ImeiRetryOffset, ImeiLength));
}

bool isValidImei(std::string_view imei) {
    return imei.size() == ImeiLength && IsDigitString(imei);
}

}  // namespace kv820
