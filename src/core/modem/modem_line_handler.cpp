#include "core/modem/modem_line_handler.h"

#include "core/modem/new_sms_index.h"

namespace kv820 {

std::optional<NewSmsOutcome> HandleModemLine(std::string_view line, NewSmsContext& context) {
    if (context.log) {
        context.log(line);
        context.log("\r\n");
    }
    if (!IsNewSmsAnnouncement(line)) {
        return std::nullopt;
    }
    return ProcessNewSms(line, context);
}

}  // namespace kv820
