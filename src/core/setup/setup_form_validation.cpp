#include "core/setup/setup_form_validation.h"

#include <algorithm>
#include <string>

#include "core/commands/command_messages.h"
#include "core/commands/input_validators.h"

namespace kv820 {

namespace {

using Failure = std::optional<std::string_view>;

constexpr std::size_t MaxUserNameLength = 20;
constexpr std::size_t MaxNumberLength = 15;

// A comma would end the field early and shift every later field of the message (the SIM
// PIN among them); a control character such as Ctrl-Z would end the message itself.
bool breaksMessageLayout(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return c == ',' || byte < 0x20 || byte == 0x7F;
    });
}

Failure checkUserName(std::string_view name) {
    if (name.empty()) {
        return "User Name must have a value.";
    }
    if (name.size() > MaxUserNameLength) {
        return "User Name must be less than 20 characters.";
    }
    if (breaksMessageLayout(name)) {
        return "User Name input is a failure.";
    }
    return std::nullopt;
}

Failure checkPhoneNumber(std::string_view phone) {
    if (phone.empty()) {
        return "Phone Number must have a value.";
    }
    if (!IsPhoneString(phone)) {
        return "Phone Number input is a failure.";
    }
    if (phone.size() > MaxNumberLength) {
        return "Phone Number must be less than 15 characters.";
    }
    return std::nullopt;
}

// An optional number: the empty text passes; any other must be phone text of at most 15.
Failure checkOptionalNumber(std::string_view number, std::string_view notPhoneText,
                            std::string_view tooLong) {
    if (!number.empty() && !IsPhoneString(number)) {
        return notPhoneText;
    }
    if (number.size() > MaxNumberLength) {
        return tooLong;
    }
    return std::nullopt;
}

Failure checkDefaultReturnNumber(const SetupFile& file) {
    if (file.defaultReturnEnabled && file.defaultReturnPhone.empty()) {
        return "Check Return Number must have a value.";
    }
    return checkOptionalNumber(file.defaultReturnPhone, "Check Return Number input is a failure.",
                               "Check Return Number must be less than 15 characters.");
}

Failure checkReportFields(const SetupFile& file) {
    if (!IsDigitString(file.reportInterval)) {
        return "Report Internet Time input is a failure.";
    }
    if (!IsDigitString(file.numberOfReports)) {
        return NumberOfReportsInvalidText;
    }
    return checkOptionalNumber(file.reportReturnPhone, "SMS Report Number input is a failure.",
                               "SMS Report Number must be less than 15 characters.");
}

Failure checkReportModeNeeds(const SetupFile& file) {
    constexpr std::string_view NoReportNumber = "SMS Report Number must have a value.";
    if (file.reportMode == ReportMode::Immediate && file.reportReturnPhone.empty()) {
        return NoReportNumber;
    }
    if (file.reportMode != ReportMode::Period) {
        return std::nullopt;
    }
    if (file.reportInterval.empty()) {
        return "Report Internet Time must have a value.";
    }
    if (file.numberOfReports.empty()) {
        return NumberOfReportsMissingText;
    }
    if (file.reportReturnPhone.empty()) {
        return NoReportNumber;
    }
    return std::nullopt;
}

Failure checkSosNumbers(const SetupFile& file) {
    static constexpr std::string_view InputFailure[] = {
        SosNumber1InvalidText, SosNumber2InvalidText, SosNumber3InvalidText};
    static constexpr std::string_view TooLong[] = {"SOS Number 1 must be less than 15 characters.",
                                                   "SOS Number 2 must be less than 15 characters.",
                                                   "SOS Number 3 must be less than 15 characters."};
    for (std::size_t i = 0; i < file.sosNumbers.size(); ++i) {
        if (Failure failure =
                checkOptionalNumber(file.sosNumbers[i], InputFailure[i], TooLong[i])) {
            return failure;
        }
    }
    return std::nullopt;
}

// The first slot whose value equals the form's must be the tracker's own row.
Failure checkNotTaken(const UserRegistry::Snapshot& users, std::string_view value,
                      std::string UserSlot::*field, std::string_view imei,
                      std::string_view message) {
    for (const UserSlot& slot : users.users) {
        if (slot.*field == value) {
            return slot.imei == imei ? Failure{} : Failure{message};
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string_view> ValidateSetupForm(const SetupForm& form,
                                                  const UserRegistry::Snapshot& users) {
    const SetupFile& file = form.file;
    for (const Failure failure : {checkUserName(file.userName), checkPhoneNumber(form.phoneNumber),
                                  checkDefaultReturnNumber(file), checkReportFields(file),
                                  checkReportModeNeeds(file), checkSosNumbers(file),
                                  checkNotTaken(users, file.userName, &UserSlot::name,
                                                form.moduleImei, "User Name is repeat."),
                                  checkNotTaken(users, form.phoneNumber, &UserSlot::phone,
                                                form.moduleImei, "Phone Number is repeat.")}) {
        if (failure) {
            return failure;
        }
    }
    return std::nullopt;
}

}  // namespace kv820
