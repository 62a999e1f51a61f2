#pragma once

#include <string>

#include "core/setup/setup_file.h"

namespace kv820 {

// The Setup File dialog's contents: the setup file it edits and the identity fields that
// are not part of the file (the IMEI keys the user row, the phone is the user's number).
struct SetupForm {
    std::string firmwareVersion;
    std::string moduleImei;
    std::string phoneNumber;
    SetupFile file;
};

// "Reset Default": empties the user name, phone, default return number, number of reports
// and SOS numbers and restores the dialog's defaults; the IMEI, firmware version and the
// return number for the default report mode are kept.
void resetDefault(SetupForm& form);

// Which report fields the selected default report mode enables.
struct ReportFieldsEnabled {
    bool reportInterval = false;
    bool numberOfReports = false;
    bool reportFormat = false;
};
ReportFieldsEnabled ApplyReportModeRule(ReportMode mode);

}  // namespace kv820
