#include "core/commands/config_enabling_rules.h"

namespace kv820 {

ConfigControlStates configEnablingRules(ConfigParameter parameter, bool defaultReturnSwitch,
                                        DefaultReportMode defaultReportMode) {
    ConfigControlStates states;
    switch (parameter) {
        case ConfigParameter::SmsDefaultReturnNumber:
            states.defaultReturnSwitch = true;
            states.defaultReturnNumber = defaultReturnSwitch;
            break;
        case ConfigParameter::MaximumGpsFixingTime:
            states.maximumGpsFixingTime = true;
            break;
        case ConfigParameter::DefaultReportModeSetting:
            states.defaultReportMode = true;
            states.reportFormat = defaultReportMode != DefaultReportMode::StopReport;
            states.reportIntervalAndCount = defaultReportMode == DefaultReportMode::SmsPeriodReport;
            break;
        case ConfigParameter::SosNumber:
            states.sosNumbers = true;
            break;
    }
    return states;
}

}  // namespace kv820
