#pragma once

#include <string>
#include <string_view>

#include "core/at/com_port.h"
#include "core/setup/setup_context.h"
#include "core/setup/setup_file.h"
#include "core/setup/setup_progress.h"

namespace kv820 {

// The status line of a setup file's write, the Setup File dialog's as well as the writer's:
// "Please wait, now is loading" with `dots` dots while it runs, then one of the two ends.
std::string loadingText(int dots);
inline constexpr char LoadingFailedText[] = "Loading failed.";
inline constexpr char LoadingCompletedText[] = "Loading completed.";

enum class WriteOutcome {
    Written,  // all four messages confirmed; the port stays open for the registration
    Failed,   // fewer than four confirmations; the port is closed
};

// Writes the setup file back to the tracker on context.portEntry: deletes the four old
// messages when the file was read from the tracker, then stores the four new ones with
// "at+cmgw=+1" to "at+cmgw=+4", each step paced by a 500 ms pause and a status text. The
// module confirms each stored message with "+CMGW"; the confirmations are counted over all
// replies, so one that arrives late is still counted. timeZoneText is the computer's
// offset text when OK was pressed; the SIM PIN written is simPinToWrite(context).
WriteOutcome WriteSetupFile(ComPort& port, const SetupContext& context, const SetupFile& file,
                            std::string_view timeZoneText, const SetupProgress& progress);

// "KV820 Setup is failed." (caption "ERROR") for Failed; empty for Written.
std::string_view writeOutcomeMessage(WriteOutcome outcome);

}  // namespace kv820
