// Any texts typed into the command pages through the input checks and the command builders.

#include <variant>

#include "core/commands/command_text.h"
#include "core/commands/config_command.h"
#include "core/commands/input_validators.h"
#include "core/commands/tracking_command.h"
#include "core/common/number_text.h"
#include "fuzz_check.h"

namespace {

constexpr std::size_t MaxTypedLength = 64;

// The implications between the character classes hold for every text.
void CheckValidators(std::string_view text) {
    const bool digits = kv820::IsDigitString(text);
    const bool decimal = kv820::hasOnlyDigitsAndPoints(text);
    const bool coordinate = kv820::IsCoordinateString(text);
    const bool phone = kv820::IsPhoneString(text);
    FUZZ_CHECK(!digits || (decimal && (text.empty() || (coordinate && phone))));
    FUZZ_CHECK(!phone || text.front() == '+' || digits);
    FUZZ_CHECK(!coordinate || text.front() == '-' || decimal);
    FUZZ_CHECK(kv820::isAcceptableReturnPhone(text) == (text.empty() || phone));
}

std::string Typed(FuzzedDataProvider& provider) {
    return provider.ConsumeRandomLengthString(MaxTypedLength);
}

template <typename Names>
std::string Picked(FuzzedDataProvider& provider, const Names& names) {
    return std::string(names[provider.ConsumeIntegralInRange<std::size_t>(0, names.size() - 1)]);
}

kv820::CommandTarget Target(FuzzedDataProvider& provider) {
    kv820::CommandTarget target;
    target.sessionActive = provider.ConsumeBool();
    target.selectedUserName =
        provider.ConsumeBool() ? std::optional(Typed(provider)) : std::nullopt;
    target.user = provider.ConsumeBool()
                      ? std::optional(kv820::UserContact{"0912345678", "356789012345678"})
                      : std::nullopt;
    return target;
}

kv820::TrackingCommandForm TrackingForm(FuzzedDataProvider& provider) {
    kv820::TrackingCommandForm form;
    form.reportMode = static_cast<kv820::TrackingReportMode>(provider.ConsumeIntegralInRange(0, 4));
    form.reportFormatIndex = provider.ConsumeIntegralInRange(0, 1);
    form.shape =
        provider.ConsumeBool() ? kv820::GeofenceShape::Rectangle : kv820::GeofenceShape::Circle;
    form.inOut = Picked(provider, kv820::GeofenceInOutNames);
    for (std::string* text :
         {&form.reportInterval, &form.numberOfReports, &form.longitude1, &form.latitude1,
          &form.longitude2, &form.latitude2, &form.circleLongitude, &form.circleLatitude,
          &form.radius, &form.returnPhone}) {
        *text = Typed(provider);
    }
    return form;
}

kv820::ConfigCommandForm ConfigForm(FuzzedDataProvider& provider) {
    kv820::ConfigCommandForm form;
    form.parameter = static_cast<kv820::ConfigParameter>(provider.ConsumeIntegralInRange(0, 3));
    form.defaultReturnSwitch = provider.ConsumeBool();
    form.maximumGpsFixingTime = Picked(provider, kv820::MaximumGpsFixingTimeNames);
    form.defaultReportMode =
        static_cast<kv820::DefaultReportMode>(provider.ConsumeIntegralInRange(0, 2));
    form.reportFormatIndex = provider.ConsumeIntegralInRange(0, 1);
    for (std::string* text : {&form.defaultReturnNumber, &form.reportInterval,
                              &form.numberOfReports, &form.defaultModeReturnPhone, &form.sosNumber1,
                              &form.sosNumber2, &form.sosNumber3, &form.returnPhone}) {
        *text = Typed(provider);
    }
    return form;
}

// A refusal has a text. An accepted command goes to the user and holds only digits, signs,
// points and its fixed letters, so no typed text can add a field or end the command early.
void CheckOutcome(const kv820::CommandOutcome& outcome, const kv820::CommandTarget& target,
                  std::string_view prefix) {
    if (const auto* message = std::get_if<kv820::CommandMessage>(&outcome)) {
        FUZZ_CHECK(!message->text.empty());
        return;
    }
    const auto& sms = std::get<kv820::CommandSms>(outcome);
    FUZZ_CHECK(target.sessionActive && target.user && target.selectedUserName);
    FUZZ_CHECK(sms.destination == target.user->phone);
    FUZZ_CHECK(sms.text.starts_with(prefix));
    FUZZ_CHECK(sms.text.find('!') == sms.text.size() - 1);
    FUZZ_CHECK(sms.text.find_first_not_of("0123456789.+-,?!RCInOut") == std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    CheckValidators(Typed(provider));

    const kv820::CommandTarget target = Target(provider);
    if (provider.ConsumeBool()) {
        const kv820::TrackingCommandForm form = TrackingForm(provider);
        const char code = "01246"[static_cast<int>(form.reportMode)];
        const std::string imei = target.user ? target.user->imei : "";
        CheckOutcome(kv820::prepareTrackingCommand(form, target), target,
                     std::string{'?', code, ','} + imei);
    } else {
        const kv820::ConfigCommandForm form = ConfigForm(provider);
        CheckOutcome(kv820::prepareConfigCommand(form, target), target, "?7,356789012345678,");
    }
    return 0;
}
