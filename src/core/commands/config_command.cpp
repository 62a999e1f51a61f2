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

CommandMessage pageMessage(const char* text) {
    return {text, MessageOwner::Page};
}

Refusal checkDefaultReturnNumber(const ConfigCommandForm& form) {
    if (!form.defaultReturnSwitch) {
        return std::nullopt;
    }
    if (form.defaultReturnNumber.empty()) {
        return pageMessage(DefaultReturnNumberMissingText);
    }
    // The tracker stores this number as digits only: a leading "+" is refused here.
    if (!IsDigitString(form.defaultReturnNumber)) {
        return pageMessage(DefaultReturnNumberInvalidText);
    }
    return std::nullopt;
}

Fields defaultReturnNumberFields(const ConfigCommandForm& form) {
    if (form.defaultReturnSwitch) {
        return {"1", "1", form.defaultReturnNumber};
    }
    return {"1", "0", ""};
}

// Interval and count are required and bounded only for "SMS Period Report"; for the other
// modes whatever they hold is still sent, so it must at least be digits.
Refusal checkDefaultReportMode(const ConfigCommandForm& form) {
    const bool period = form.defaultReportMode == DefaultReportMode::SmsPeriodReport;
    if (!form.defaultModeReturnPhone.empty() && !IsPhoneString(form.defaultModeReturnPhone)) {
        return pageMessage(ReturnPhoneInvalidText);
    }
    if (period && form.reportInterval.empty()) {
        return pageMessage(ReturnIntervalMissingText);
    }
    if (!IsDigitString(form.reportInterval)) {
        return pageMessage(ReturnIntervalInvalidText);
    }
    const int interval = leadingInt32(form.reportInterval).value_or(0);
    if (period && (interval > MaxDefaultInterval || interval < MinDefaultInterval)) {
        return CommandMessage{ReturnIntervalRangeText, MessageOwner::MainWindow};
    }
    if (period && form.numberOfReports.empty()) {
        return pageMessage(NumberOfReportsMissingText);
    }
    if (!IsDigitString(form.numberOfReports)) {
        return pageMessage(NumberOfReportsInvalidText);
    }
    const int reports = leadingInt32(form.numberOfReports).value_or(0);
    if (period && (reports > MaxDefaultReports || reports < MinDefaultReports)) {
        return CommandMessage{NumberOfReportsRangeText, MessageOwner::MainWindow};
    }
    return std::nullopt;
}

Fields defaultReportModeFields(const ConfigCommandForm& form) {
    return {"3",
            std::to_string(static_cast<int>(form.defaultReportMode)),
            form.reportInterval,
            form.numberOfReports,
            std::to_string(form.reportFormatIndex),
            form.defaultModeReturnPhone};
}

Refusal checkSosNumbers(const ConfigCommandForm& form) {
    const std::pair<const std::string&, const char*> numbers[] = {
        {form.sosNumber1, SosNumber1InvalidText},
        {form.sosNumber2, SosNumber2InvalidText},
        {form.sosNumber3, SosNumber3InvalidText},
    };
    for (const auto& [number, failure] : numbers) {
        if (!number.empty() && !IsPhoneString(number)) {
            return pageMessage(failure);
        }
    }
    return std::nullopt;
}

Refusal checkParameterFields(const ConfigCommandForm& form) {
    switch (form.parameter) {
        case ConfigParameter::SmsDefaultReturnNumber:
            return checkDefaultReturnNumber(form);
        case ConfigParameter::MaximumGpsFixingTime:
            return std::nullopt;
        case ConfigParameter::DefaultReportModeSetting:
            return checkDefaultReportMode(form);
        case ConfigParameter::SosNumber:
            return checkSosNumbers(form);
    }
    throw std::out_of_range("unknown configuration parameter");
}

Fields parameterFields(const ConfigCommandForm& form) {
    switch (form.parameter) {
        case ConfigParameter::SmsDefaultReturnNumber:
            return defaultReturnNumberFields(form);
        case ConfigParameter::MaximumGpsFixingTime:
            return {"2", form.maximumGpsFixingTime};
        case ConfigParameter::DefaultReportModeSetting:
            return defaultReportModeFields(form);
        case ConfigParameter::SosNumber:
            return {"4", form.sosNumber1, form.sosNumber2, form.sosNumber3};
    }
    throw std::out_of_range("unknown configuration parameter");
}

}  // namespace

CommandOutcome prepareConfigCommand(const ConfigCommandForm& form, const CommandTarget& target) {
    if (auto refusal = checkSessionAndUser(target)) {
        return *refusal;
    }
    if (!isAcceptableReturnPhone(form.returnPhone)) {
        return pageMessage(ReturnPhoneInvalidText);
    }
    if (Refusal refusal = checkParameterFields(form)) {
        return *refusal;
    }
    const Fields fields = parameterFields(form);
    return CommandSms{target.user->phone,
                      commandText(ConfigCode, target.user->imei, fields, form.returnPhone)};
}

}  // namespace kv820
