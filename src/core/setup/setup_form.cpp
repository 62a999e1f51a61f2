#include "core/setup/setup_form.h"

#include <utility>

namespace kv820 {

void resetDefault(SetupForm& form) {
    std::string reportReturnPhone = std::move(form.file.reportReturnPhone);
    form.file = SetupFile{};
    form.file.reportReturnPhone = std::move(reportReturnPhone);
    form.phoneNumber.clear();
}

ReportFieldsEnabled ApplyReportModeRule(ReportMode mode) {
    switch (mode) {
        case ReportMode::Immediate:
            return {.reportInterval = false, .numberOfReports = false, .reportFormat = true};
        case ReportMode::Period:
            return {.reportInterval = true, .numberOfReports = true, .reportFormat = true};
        case ReportMode::Stop:
            break;
    }
    return {};
}

}  // namespace kv820
