#include "core/setup/setup_form_validation.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace kv820 {
namespace {

constexpr const char* OwnImei = "356000000000001";

SetupForm validForm() {
    SetupForm form;
    form.moduleImei = OwnImei;
    form.firmwareVersion = "KV-820(V1.01)";
    form.phoneNumber = "0912345678";
    form.file.userName = "Bus 7";
    return form;
}

// A later slot with the name of an earlier one and another tracker's IMEI.
UserRegistry::Snapshot users() {
    UserRegistry::Snapshot users;
    users.users[0] = {"Bus 7", "0912345678", OwnImei};
    users.users[1] = {"Van 2", "+886922000111", "356000000000002"};
    users.users[2] = {"Van 2", "0955", "356000000000009"};
    users.userCount = 3;
    return users;
}

struct FormCase {
    std::string name;
    std::function<void(SetupForm&)> change;
    std::string message;  // empty: the form passes
};

using F = SetupForm&;

// The checks in their order; where one case breaks two fields (a comma between the two
// changes), the earlier check wins.
TEST(SetupFormChecks, FirstFailingCheckGivesItsMessage) {
    const FormCase cases[] = {
        FormCase{"ValidFormPasses", [](F) {}, ""},
        FormCase{"NameEmpty", [](F f) { f.file.userName = "", f.phoneNumber = ""; },
                 "User Name must have a value."},
        FormCase{"NameLengthCountsBytes",
                 [](F f) { f.file.userName = "\xE5\xB7\xB4\xE5\xA3\xAB" + std::string(15, 'a'); },
                 "User Name must be less than 20 characters."},
        FormCase{"NameWithCommaShiftsFields",
                 [](F f) { f.file.userName = "Bus,7", f.phoneNumber = ""; },
                 "User Name input is a failure."},
        FormCase{"NameWithCtrlZEndsMessage", [](F f) { f.file.userName = "Bus\x1A"; },
                 "User Name input is a failure."},
        FormCase{"PhoneWithBlank", [](F f) { f.phoneNumber = "0912 345678"; },
                 "Phone Number input is a failure."},
        FormCase{"ReturnNumberEmptyWhileChecked",
                 [](F f) { f.file.defaultReturnEnabled = true, f.file.reportInterval = "x"; },
                 "Check Return Number must have a value."},
        FormCase{"IntervalNotDigits",
                 [](F f) { f.file.reportInterval = "3.5", f.file.numberOfReports = "x"; },
                 "Report Internet Time input is a failure."},
        FormCase{"ImmediateWithoutReportNumber",
                 [](F f) { f.file.reportMode = ReportMode::Immediate, f.file.sosNumbers[0] = "x"; },
                 "SMS Report Number must have a value."},
        FormCase{"PeriodIntervalFirst",
                 [](F f) { f.file.reportMode = ReportMode::Period, f.file.reportInterval = ""; },
                 "Report Internet Time must have a value."},
        FormCase{"Sos2NotPhone",
                 [](F f) {
                     f.file.sosNumbers = {"110", "x", "x"};
                 },
                 "SOS Number 2 input is a failure."},
        FormCase{"PhoneOfAnotherTracker", [](F f) { f.phoneNumber = "+886922000111"; },
                 "Phone Number is repeat."},
        FormCase{"NewTrackerUnderARegisteredName", [](F f) { f.moduleImei = "356000000000008"; },
                 "User Name is repeat."},
        // The later slot with this tracker's IMEI does not excuse the first with the name.
        FormCase{"OnlyTheFirstEqualSlotCounts",
                 [](F f) {
                     f.moduleImei = "356000000000009", f.file.userName = "Van 2",
                     f.phoneNumber = "0955";
                 },
                 "User Name is repeat."}};
    for (const FormCase& c : cases) {
        SetupForm form = validForm();
        c.change(form);
        EXPECT_EQ(ValidateSetupForm(form, users()).value_or(""), c.message) << c.name;
    }
}

TEST(SetupForm, ResetDefaultKeepsIdentityAndReportNumber) {
    SetupForm form = validForm();
    form.file.defaultReturnEnabled = true;
    form.file.defaultReturnPhone = "0911";
    form.file.reportMode = ReportMode::Period;
    form.file.sosNumbers = {"1", "2", "3"};
    form.file.reportReturnPhone = "+8869";
    resetDefault(form);

    SetupFile expected;
    expected.reportReturnPhone = "+8869";
    EXPECT_EQ(form.file, expected);
    EXPECT_EQ(form.phoneNumber, "");
    EXPECT_EQ(form.moduleImei, OwnImei);
    EXPECT_EQ(form.firmwareVersion, "KV-820(V1.01)");
}

}  // namespace
}  // namespace kv820
