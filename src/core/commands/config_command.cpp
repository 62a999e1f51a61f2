#include "core/commands/config_command.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/commands/command_messages.h"
#include "core/commands/command_text.h"
#include "core/commands/input_validators.h"
#include "core/common/number_text.h"

namespace kv820 {

namespace {

constexpr char ConfigCode = '7';
constexpr int MinDefaultInterval = 5;
constexpr int MaxDefaultInterval = 86400;
constexpr int MinDefaultReports = 0;
constexpr int MaxDefaultReports = 999;

// A step either refuses or yields the fields that follow the IMEI.
using Refusal = std::optional<CommandMessage>;
using Fields = std::vector<std::string>;

CommandMessage PageMessage(const char* text) {
    return {text, MessageOwner::Page};
}

Refusal CheckDefaultReturnNumber(const ConfigCommandForm& form) {
    if (!form.defaultReturnSwitch) {
        return std::nullopt;
    }
    if (form.defaultReturnNumber.empty()) {
        return PageMessage(DefaultReturnNumberMissingText);
    }
    // The tracker stores this number as digits only: a leading "+" is refused here.
    if (!IsDigitString(form.defaultReturnNumber)) {
        return PageMessage(DefaultReturnNumberInvalidText);
    }
    return std::nullopt;
}

Fields DefaultReturnNumberFields(const ConfigCommandForm& form) {
    if (form.defaultReturnSwitch) {
        return {"1", "1", form.defaultReturnNumber};
    }
    return {"1", "0", ""};
}

// Interval and count are required and bounded only for "SMS Period Report"; for the other
// modes whatever they hold is still sent, so it must at least be digits.
Refusal CheckDefaultReportMode(const ConfigCommandForm& form) {
    const bool period = form.defaultReportMode == DefaultReportMode::SmsPeriodReport;
    if (!form.defaultModeReturnPhone.empty() && !IsPhoneString(form.defaultModeReturnPhone)) {
        return PageMessage(ReturnPhoneInvalidText);
    }
    if (period && form.reportInterval.empty()) {
        return PageMessage(ReturnIntervalMissingText);
    }
    if (!IsDigitString(form.reportInterval)) {
        return PageMessage(ReturnIntervalInvalidText);
    }
    const int interval = LeadingInt32(form.reportInterval).value_or(0);
    if (period && (interval > MaxDefaultInterval || interval < MinDefaultInterval)) {
        return CommandMessage{ReturnIntervalRangeText, MessageOwner::MainWindow};
    }
    if (period && form.numberOfReports.empty()) {
        return PageMessage(NumberOfReportsMissingText);
    }
    if (!IsDigitString(form.numberOfReports)) {
        return PageMessage(NumberOfReportsInvalidText);
    }
    const int reports = LeadingInt32(form.numberOfReports).value_or(0);
    if (period && (reports > MaxDefaultReports || reports < MinDefaultReports)) {
        return CommandMessage{NumberOfReportsRangeText, MessageOwner::MainWindow};
    }
    return std::nullopt;
}

Fields DefaultReportModeFields(const ConfigCommandForm& form) {
    return {"3",
            std::to_string(static_cast<int>(form.defaultReportMode)),
            form.reportInterval,
            form.numberOfReports,
            std::to_string(form.reportFormatIndex),
            form.defaultModeReturnPhone};
}

Refusal CheckSosNumbers(const ConfigCommandForm& form) {
    const std::pair<const std::string&, const char*> numbers[] = {
        {form.sosNumber1, SosNumber1InvalidText},
        {form.sosNumber2, SosNumber2InvalidText},
        {form.sosNumber3, SosNumber3InvalidText},
    };
    for (const auto& [number, failure] : numbers) {
        if (!number.empty() && !IsPhoneString(number)) {
            return PageMessage(failure);
        }
    }
    return std::nullopt;
}

Refusal CheckParameterFields(const ConfigCommandForm& form) {
    switch (form.parameter) {
        case ConfigParameter::SmsDefaultReturnNumber:
            return CheckDefaultReturnNumber(form);
        case ConfigParameter::MaximumGpsFixingTime:
            return std::nullopt;
        case ConfigParameter::DefaultReportModeSetting:
            return CheckDefaultReportMode(form);
        case ConfigParameter::SosNumber:
            return CheckSosNumbers(form);
    }
    throw std::out_of_range("unknown configuration parameter");
}

Fields ParameterFields(const ConfigCommandForm& form) {
    switch (form.parameter) {
        case ConfigParameter::SmsDefaultReturnNumber:
            return DefaultReturnNumberFields(form);
        case ConfigParameter::MaximumGpsFixingTime:
            return {"2", form.maximumGpsFixingTime};
        case ConfigParameter::DefaultReportModeSetting:
            return DefaultReportModeFields(form);
        case ConfigParameter::SosNumber:
            return {"4", form.sosNumber1, form.sosNumber2, form.sosNumber3};
    }
    throw std::out_of_range("unknown configuration parameter");
}

}  // namespace

CommandOutcome PrepareConfigCommand(const ConfigCommandForm& form, const CommandTarget& target) {
    if (auto refusal = CheckSessionAndUser(target)) {
        return *refusal;
    }
    if (!IsAcceptableReturnPhone(form.returnPhone)) {
        return PageMessage(ReturnPhoneInvalidText);
    }
    if (Refusal refusal = CheckParameterFields(form)) {
        return *refusal;
    }
    const Fields fields = ParameterFields(form);
    return CommandSms{target.user->phone,
                      CommandText(ConfigCode, target.user->imei, fields, form.returnPhone)};
}

}  // namespace kv820
