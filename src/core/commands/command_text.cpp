#include "core/commands/command_text.h"

#include "core/commands/input_validators.h"

namespace kv820 {

std::string ReturnPhoneSuffix(std::string_view returnPhone) {
    if (returnPhone.empty()) {
        return "!";
    }
    std::string suffix(",");
    suffix.append(returnPhone).append("!");
    return suffix;
}

bool isAcceptableReturnPhone(std::string_view returnPhone) {
    return returnPhone.empty() || IsPhoneString(returnPhone);
}

std::string commandText(char code, std::string_view imei, std::span<const std::string> fields,
                        std::string_view returnPhone) {
    std::string text{'?', code, ','};
    text.append(imei);
    for (const std::string& field : fields) {
        text.append(",").append(field);
    }
    text.append(ReturnPhoneSuffix(returnPhone));
    return text;
}

}  // namespace kv820
