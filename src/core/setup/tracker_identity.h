#pragma once

#include <string>
#include <string_view>

namespace kv820 {

// The firmware version shown for a tracker whose reply to "tr+fwv" does not name the model.
inline constexpr std::string_view UnknownFirmwareVersion{"0001"};

// The firmware version in the reply to "tr+fwv": "0001" when the reply lacks "KV-820";
// with the model and the command's echo, the text from offset 15 up to and including the
// first ")"; otherwise (no echo, no ")") the empty text.
std::string firmwareVersionFromReply(std::string_view reply);

// The IMEI in the reply to "at+cgsn": 15 characters from offset 10, or from offset 18 when
// those are not all digits. Offsets past the reply give the empty text.
std::string imeiFromReply(std::string_view reply);

// A usable IMEI is exactly 15 digits.
bool isValidImei(std::string_view imei);

}  // namespace kv820
