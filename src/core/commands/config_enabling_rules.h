#pragma once

#include "core/commands/config_command_form.h"

namespace kv820 {

// Which controls of the configuration page are enabled. "Configuration Parameter :" and
// "Return Phone Number :" are always enabled and not listed.
struct ConfigControlStates {
    bool defaultReturnSwitch = false;  // the check box
    bool defaultReturnNumber = false;  // its number
    bool maximumGpsFixingTime = false;
    bool defaultReportMode = false;  // also "Return Phone Number for Default Report Mode :"
    bool reportFormat = false;
    bool reportIntervalAndCount = false;  // "Report Interval :" and "Number of Reports :"
    bool sosNumbers = false;              // all three

    bool operator==(const ConfigControlStates&) const = default;
};

// The states for the selected parameter, the default return check box and the selected
// default report mode.
ConfigControlStates configEnablingRules(ConfigParameter parameter, bool defaultReturnSwitch,
                                        DefaultReportMode defaultReportMode);

}  // namespace kv820
