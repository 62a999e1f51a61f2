#include "core/ports/scan_probe.h"

#include <algorithm>

#include "core/common/stoppable_sleep.h"

namespace kv820 {

char ScanWakeCharacter(ScanVariant variant) {
    return variant == ScanVariant::FirmwareWizard ? '1' : '2';
}

bool ScanRepliesAnswer(ScanVariant variant, const std::vector<std::string>& replies) {
    if (variant == ScanVariant::FirmwareWizard) {
        return std::any_of(replies.begin(), replies.end(), [](const std::string& reply) {
            return reply.find('C') != std::string::npos;
        });
    }
    return std::any_of(replies.begin(), replies.end(), [](const std::string& reply) {
        return reply.find("SIEMENS") != std::string::npos && ReplyHasOk(reply);
    });
}

bool ScanProbe::probe(const std::string& entry, const std::atomic<bool>& stop) {
    port_.OpenComPort(entry);
    const char wake = ScanWakeCharacter(variant_);
    port_.SendAtCommand(std::string_view(&wake, 1), "");
    port_.ReadModemReply(kWakeReplySize);
    std::vector<std::string> replies;
    if (SleepUnlessStopped(port_.clock(), kSettleAfterWake, stop)) {
        replies = askDevice();
    }
    port_.CloseComPort();
    if (!SleepUnlessStopped(port_.clock(), kRestAfterClose, stop)) {
        return false;
    }
    return ScanRepliesAnswer(variant_, replies);
}

std::vector<std::string> ScanProbe::askDevice() {
    switch (variant_) {
        case ScanVariant::SetupWizard:
            port_.SendAtCommand("at");
            port_.ReadModemReply(kIdentityReplySize);  // only clears the line
            port_.SendAtCommand("ati");
            return {port_.ReadModemReply(kIdentityReplySize)};
        case ScanVariant::SmsCommand:
            port_.SendAtCommand("ati");
            return {port_.ReadModemReply(kIdentityReplySize)};
        case ScanVariant::FirmwareWizard: {
            std::vector<std::string> prompts;
            for (int i = 0; i < kPromptReads; ++i) {
                prompts.push_back(port_.ReadModemReply(kPromptReplySize));
            }
            return prompts;
        }
    }
    return {};
}

}  // namespace kv820
