#include "core/setup/setup_form_validation.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace kv820 {
namespace {

constexpr const char* OwnImei = "356000000000001";

SetupForm ValidForm() {
    SetupForm form;
    form.moduleImei = OwnImei;
    form.firmwareVersion = "KV-820(V1.01)";
    form.phoneNumber = "0912345678";
    form.file.userName = "Bus 7";
    return form;
}

UserRegistry::Snapshot TwoUsers() {
    UserRegistry::Snapshot users;
    users.users[0] = {"Bus 7", "0912345678", OwnImei};
    users.users[1] = {"Van 2", "+886922000111", "356000000000002"};
    users.userCount = 2;
    return users;
}

struct FormCase {
    std::string name;
    std::function<void(SetupForm&)> change;
    std::string message;  // empty: the form passes
};

void PrintTo(const FormCase& c, std::ostream* os) {
    *os << c.name;
}

class SetupFormChecks : public testing::TestWithParam<FormCase> {};

TEST_P(SetupFormChecks, FirstFailingCheckGivesItsMessage) {
    SetupForm form = ValidForm();
    GetParam().change(form);
    const std::optional<std::string_view> failure = ValidateSetupForm(form, TwoUsers());
    EXPECT_EQ(std::string(failure.value_or("")), GetParam().message);
}

using F = SetupForm&;

// The checks in their order; where one case breaks two fields, the earlier check wins.
INSTANTIATE_TEST_SUITE_P(
    Table, SetupFormChecks,
    testing::Values(
        FormCase{"ValidFormPasses", [](F) {}, ""},
        FormCase{"1_NameEmpty",
                 [](F f) {
                     f.file.userName = "";
                     f.phoneNumber = "";
                 },
                 "User Name must have a value."},
        FormCase{"2_NameOf21",
                 [](F f) {
                     f.file.userName = std::string(21, 'a');
                     f.phoneNumber = "";
                 },
                 "User Name must be less than 20 characters."},
        FormCase{"2_NameOf20Passes", [](F f) { f.file.userName = std::string(20, 'a'); }, ""},
        FormCase{"2_NameLengthCountsBytes",
                 [](F f) { f.file.userName = "\xE5\xB7\xB4\xE5\xA3\xAB" + std::string(15, 'a'); },
                 "User Name must be less than 20 characters."},
        FormCase{"NameWithCommaShiftsFields",
                 [](F f) {
                     f.file.userName = "Bus,7";
                     f.phoneNumber = "";
                 },
                 "User Name input is a failure."},
        FormCase{"NameWithCtrlZEndsMessage", [](F f) { f.file.userName = "Bus\x1A"; },
                 "User Name input is a failure."},
        FormCase{"NameContainingOkPasses", [](F f) { f.file.userName = "OKAY"; }, ""},
        FormCase{"3_PhoneEmpty",
                 [](F f) {
                     f.phoneNumber = "";
                     f.file.defaultReturnEnabled = true;
                 },
                 "Phone Number must have a value."},
        FormCase{"4_PhoneWithHyphen", [](F f) { f.phoneNumber = "0912-345678"; },
                 "Phone Number input is a failure."},
        FormCase{"4_PhoneWithBlank", [](F f) { f.phoneNumber = "0912 345678"; },
                 "Phone Number input is a failure."},
        FormCase{"4_LonePlusPasses", [](F f) { f.phoneNumber = "+"; }, ""},
        FormCase{"5_PhoneOf16",
                 [](F f) {
                     f.phoneNumber = std::string(16, '1');
                     f.file.defaultReturnEnabled = true;
                 },
                 "Phone Number must be less than 15 characters."},
        FormCase{"5_PhoneOf15Passes", [](F f) { f.phoneNumber = "+" + std::string(14, '1'); }, ""},
        FormCase{"6_ReturnNumberEmptyWhileChecked",
                 [](F f) {
                     f.file.defaultReturnEnabled = true;
                     f.file.reportInterval = "x";
                 },
                 "Check Return Number must have a value."},
        FormCase{"6_ReturnNumberEmptyUncheckedPasses",
                 [](F f) { f.file.defaultReturnEnabled = false; }, ""},
        FormCase{"7_ReturnNumberNotPhoneWhileUnchecked",
                 [](F f) { f.file.defaultReturnPhone = "12a"; },
                 "Check Return Number input is a failure."},
        FormCase{"8_ReturnNumberOf16",
                 [](F f) {
                     f.file.defaultReturnEnabled = true;
                     f.file.defaultReturnPhone = std::string(16, '2');
                     f.file.reportInterval = "x";
                 },
                 "Check Return Number must be less than 15 characters."},
        FormCase{"9_IntervalNotDigits",
                 [](F f) {
                     f.file.reportInterval = "3.5";
                     f.file.numberOfReports = "x";
                 },
                 "Report Internet Time input is a failure."},
        FormCase{"10_ReportsNotDigits",
                 [](F f) {
                     f.file.numberOfReports = "-1";
                     f.file.reportReturnPhone = "x";
                 },
                 "Number of Reports input is a failure."},
        FormCase{"11_ReportNumberNotPhone",
                 [](F f) {
                     f.file.reportReturnPhone = "09 12";
                     f.file.reportMode = ReportMode::Immediate;
                 },
                 "SMS Report Number input is a failure."},
        FormCase{"12_ReportNumberOf16",
                 [](F f) { f.file.reportReturnPhone = std::string(16, '3'); },
                 "SMS Report Number must be less than 15 characters."},
        FormCase{"13_ImmediateWithoutReportNumber",
                 [](F f) {
                     f.file.reportMode = ReportMode::Immediate;
                     f.file.sosNumbers[0] = "x";
                 },
                 "SMS Report Number must have a value."},
        FormCase{"13_ImmediateNeedsNoInterval",
                 [](F f) {
                     f.file.reportMode = ReportMode::Immediate;
                     f.file.reportInterval = "";
                     f.file.reportReturnPhone = "0911";
                 },
                 ""},
        FormCase{"14_PeriodIntervalFirst",
                 [](F f) {
                     f.file.reportMode = ReportMode::Period;
                     f.file.reportInterval = "";
                 },
                 "Report Internet Time must have a value."},
        FormCase{"15_PeriodWithoutReports",
                 [](F f) {
                     f.file.reportMode = ReportMode::Period;
                     f.file.reportReturnPhone = "";
                 },
                 "Number of Reports must have a value."},
        FormCase{"16_PeriodWithoutReportNumber",
                 [](F f) {
                     f.file.reportMode = ReportMode::Period;
                     f.file.numberOfReports = "5";
                 },
                 "SMS Report Number must have a value."},
        FormCase{"16_PeriodComplete",
                 [](F f) {
                     f.file.reportMode = ReportMode::Period;
                     f.file.numberOfReports = "5";
                     f.file.reportReturnPhone = "+8869";
                 },
                 ""},
        FormCase{"StopNeedsNoReportFields",
                 [](F f) {
                     f.file.reportInterval = "";
                     f.file.numberOfReports = "";
                 },
                 ""},
        FormCase{"17_Sos1NotPhone",
                 [](F f) {
                     f.file.sosNumbers = {"1-2", "x", "x"};
                     f.file.userName = "Van 2";
                 },
                 "SOS Number 1 input is a failure."},
        FormCase{"18_Sos1Of16",
                 [](F f) {
                     f.file.sosNumbers = {std::string(16, '4'), "x", ""};
                 },
                 "SOS Number 1 must be less than 15 characters."},
        FormCase{"19_Sos2NotPhone",
                 [](F f) {
                     f.file.sosNumbers = {"110", "x", "x"};
                 },
                 "SOS Number 2 input is a failure."},
        FormCase{"20_Sos2Of16",
                 [](F f) {
                     f.file.sosNumbers = {"", std::string(16, '5'), "x"};
                 },
                 "SOS Number 2 must be less than 15 characters."},
        FormCase{"21_Sos3NotPhone",
                 [](F f) {
                     f.file.sosNumbers = {"", "", "++"};
                     f.file.userName = "Van 2";
                 },
                 "SOS Number 3 input is a failure."},
        FormCase{"22_Sos3Of16", [](F f) { f.file.sosNumbers[2] = std::string(16, '6'); },
                 "SOS Number 3 must be less than 15 characters."},
        FormCase{"23_NameOfAnotherTracker",
                 [](F f) {
                     f.file.userName = "Van 2";
                     f.phoneNumber = "+886922000111";
                 },
                 "User Name is repeat."},
        FormCase{"24_PhoneOfAnotherTracker", [](F f) { f.phoneNumber = "+886922000111"; },
                 "Phone Number is repeat."},
        FormCase{"23_24_NewTrackerWithFreshNamePasses",
                 [](F f) {
                     f.moduleImei = "356000000000009";
                     f.file.userName = "Cab 1";
                     f.phoneNumber = "0933";
                 },
                 ""},
        FormCase{"23_NewTrackerUnderARegisteredName", [](F f) { f.moduleImei = "356000000000009"; },
                 "User Name is repeat."}));

TEST(SetupFormChecks, RepeatChecksLookOnlyAtTheFirstEqualSlot) {
    UserRegistry::Snapshot users = TwoUsers();
    // A later slot with the same name and this tracker's IMEI does not excuse the first.
    users.users[2] = {"Van 2", "0955", "356000000000009"};
    users.userCount = 3;
    SetupForm form = ValidForm();
    form.moduleImei = "356000000000009";
    form.file.userName = "Van 2";
    form.phoneNumber = "0955";
    EXPECT_EQ(ValidateSetupForm(form, users), "User Name is repeat.");
}

TEST(SetupForm, ResetDefaultKeepsIdentityAndReportNumber) {
    SetupForm form = ValidForm();
    form.file.defaultReturnEnabled = true;
    form.file.defaultReturnPhone = "0911";
    form.file.maxGpsFixingTime = 9;
    form.file.timeZoneOn = false;
    form.file.reportMode = ReportMode::Period;
    form.file.reportInterval = "60";
    form.file.reportFormat = 0;
    form.file.numberOfReports = "4";
    form.file.sosNumbers = {"1", "2", "3"};
    form.file.reportReturnPhone = "+8869";
    ResetDefault(form);

    SetupFile expected;
    expected.reportReturnPhone = "+8869";
    EXPECT_EQ(form.file, expected);
    EXPECT_EQ(form.phoneNumber, "");
    EXPECT_EQ(form.moduleImei, OwnImei);
    EXPECT_EQ(form.firmwareVersion, "KV-820(V1.01)");
}

TEST(SetupForm, ReportModeEnablesItsFields) {
    const ReportFieldsEnabled immediate = ApplyReportModeRule(ReportMode::Immediate);
    EXPECT_FALSE(immediate.reportInterval);
    EXPECT_FALSE(immediate.numberOfReports);
    EXPECT_TRUE(immediate.reportFormat);
    const ReportFieldsEnabled period = ApplyReportModeRule(ReportMode::Period);
    EXPECT_TRUE(period.reportInterval && period.numberOfReports && period.reportFormat);
    const ReportFieldsEnabled stop = ApplyReportModeRule(ReportMode::Stop);
    EXPECT_FALSE(stop.reportInterval || stop.numberOfReports || stop.reportFormat);
}

}  // namespace
}  // namespace kv820
