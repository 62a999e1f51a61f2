#pragma once

#include <chrono>
#include <cstddef>
#include <stop_token>
#include <string>
#include <vector>

#include "core/at/com_port.h"

namespace kv820 {

// The three places that scan for their device, each with its own probe: the setup wizard
// and the SMS Command page look for the GSM module, the firmware wizard for a tracker's
// boot loader.
enum class ScanVariant { SetupWizard, SmsCommand, FirmwareWizard };

// Probes one listed port for the device a scan variant looks for: opens the port, wakes
// the device, gives it time to settle, asks it, closes the port and waits before the next
// port is touched. The port's clock is to be one whose pauses the stop ends.
class ScanProbe {
  public:
    static constexpr std::chrono::milliseconds SettleAfterWake{5000};
    static constexpr std::chrono::milliseconds RestAfterClose{1000};
    static constexpr std::size_t PromptReplySize = 128;
    static constexpr int PromptReads = 3;

    ScanProbe(ScanVariant variant, ComPort& port) : variant_(variant), port_(port) {}

    // True when the device answered on the port of `entry`. An entry whose port does not
    // open goes through the same steps and does not answer. Once `stop` is requested the
    // probe closes the port and returns false at its next step.
    bool probe(const std::string& entry, const std::stop_token& stop);

  private:
    // The replies that decide, after the wake and the pause.
    std::vector<std::string> askDevice();
    // The "ati" reply when it ended in "OK"; empty otherwise.
    std::string identity();

    ScanVariant variant_;
    ComPort& port_;
};

// The single character that wakes the device of a variant ("2" the GSM module, "1" the
// boot loader).
char scanWakeCharacter(ScanVariant variant);

// Whether the replies of a probe show the wanted device: "SIEMENS" together with "OK" for
// the GSM module, an upper-case "C" in any reply for the boot loader.
bool scanRepliesAnswer(ScanVariant variant, const std::vector<std::string>& replies);

}  // namespace kv820
