#pragma once

#include <span>
#include <string>
#include <string_view>

namespace kv820 {

// Every command SMS ends this way: "!" alone, or "," + the number the tracker should answer
// to + "!" when the operator typed one.
std::string ReturnPhoneSuffix(std::string_view returnPhone);

// An optional return number is either absent or passes IsPhoneString.
bool isAcceptableReturnPhone(std::string_view returnPhone);

// "?" + code + "," + IMEI, then each field after a ",", then the ReturnPhoneSuffix. Fields
// are copied as given: an empty field leaves an empty position between two commas.
std::string commandText(char code, std::string_view imei, std::span<const std::string> fields,
                        std::string_view returnPhone);

}  // namespace kv820
