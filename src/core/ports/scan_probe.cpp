#include "core/ports/scan_probe.h"

#include <algorithm>

namespace kv820 {

char scanWakeCharacter(ScanVariant variant) {
    return variant == ScanVariant::FirmwareWizard ? '1' : '2';
}

bool scanRepliesAnswer(ScanVariant variant, const std::vector<std::string>& replies) {
    if (variant == ScanVariant::FirmwareWizard) {
        return std::any_of(replies.begin(), replies.end(), [](const std::string& reply) {
            return reply.find('C') != std::string::npos;
        });
    }
    return std::any_of(replies.begin(), replies.end(), [](const std::string& reply) {
        return reply.find("SIEMENS") != std::string::npos && reply.find("OK") != std::string::npos;
    });
}

bool ScanProbe::probe(const std::string& entry, const std::stop_token& stop) {
    port_.OpenComPort(entry);
    port_.WakeModem(scanWakeCharacter(variant_));
    std::vector<std::string> replies;
    port_.clock().sleepFor(SettleAfterWake);
    if (!stop.stop_requested()) {
        replies = askDevice();
    }
    port_.CloseComPort();
    port_.clock().sleepFor(RestAfterClose);
    if (stop.stop_requested()) {
        return false;
    }
    return scanRepliesAnswer(variant_, replies);
}

std::string ScanProbe::identity() {
    const ModemReply reply = port_.exchange("ati", reply_timeout::Quick);
    // Only a reply that ended in its own "OK" counts.
    return reply.ok() ? reply.text : std::string();
}

std::vector<std::string> ScanProbe::askDevice() {
    switch (variant_) {
        case ScanVariant::SetupWizard:
            port_.exchange("at", reply_timeout::Quick);  // only clears the line
            return {identity()};
        case ScanVariant::SmsCommand:
            return {identity()};
        case ScanVariant::FirmwareWizard: {
            std::vector<std::string> prompts;
            for (int i = 0; i < PromptReads; ++i) {
                prompts.push_back(port_.listen(PromptReplySize, reply_timeout::Quick));
            }
            return prompts;
        }
    }
    return {};
}

}  // namespace kv820
