#include "core/commands/tracking_command.h"

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

using Refusal = std::optional<std::string>;

constexpr int MinReportInterval = 1;
constexpr int MaxReportInterval = 86400;

struct CoordinateField {
    const std::string& text;
    const char* emptyMessage;
    const char* failureMessage;
};

Refusal checkCoordinates(std::initializer_list<CoordinateField> fields) {
    for (const CoordinateField& field : fields) {
        if (field.text.empty()) {
            return field.emptyMessage;
        }
        if (!IsCoordinateString(field.text)) {
            return field.failureMessage;
        }
    }
    return std::nullopt;
}

Refusal checkReportTiming(const TrackingCommandForm& form) {
    if (form.reportInterval.empty()) {
        return ReportTimeMissingText;
    }
    if (!IsDigitString(form.reportInterval)) {
        return ReportTimeInvalidText;
    }
    const int interval = leadingInt32(form.reportInterval).value_or(0);
    if (interval > MaxReportInterval || interval < MinReportInterval) {
        return ReportTimeRangeText;
    }
    if (form.numberOfReports.empty()) {
        return NumberOfReportsMissingText;
    }
    if (!IsDigitString(form.numberOfReports)) {
        return NumberOfReportsInvalidText;
    }
    return std::nullopt;
}

Refusal checkRectangle(const TrackingCommandForm& form) {
    return checkCoordinates({
        {form.longitude1, Longitude1MissingText, Longitude1InvalidText},
        {form.latitude1, Latitude1MissingText, Latitude1InvalidText},
        {form.longitude2, Longitude2MissingText, Longitude2InvalidText},
        {form.latitude2, Latitude2MissingText, Latitude2InvalidText},
    });
}

Refusal checkCircle(const TrackingCommandForm& form) {
    if (Refusal refusal = checkCoordinates({
            {form.circleLongitude, LongitudeMissingText, LongitudeInvalidText},
            {form.circleLatitude, LatitudeMissingText, LatitudeInvalidText},
        })) {
        return refusal;
    }
    if (form.radius.empty()) {
        return RadiusMissingText;
    }
    if (!hasOnlyDigitsAndPoints(form.radius)) {
        return RadiusInvalidText;
    }
    if (leadingInt32(form.radius).value_or(0) < 1) {
        return RadiusNotPositiveText;
    }
    return std::nullopt;
}

Refusal checkModeFields(const TrackingCommandForm& form) {
    switch (form.reportMode) {
        case TrackingReportMode::PeriodReport:
            return checkReportTiming(form);
        case TrackingReportMode::Geofence:
            if (Refusal refusal = checkReportTiming(form)) {
                return refusal;
            }
            return form.shape == GeofenceShape::Rectangle ? checkRectangle(form)
                                                          : checkCircle(form);
        case TrackingReportMode::ImmediateReport:
        case TrackingReportMode::StopReport:
        case TrackingReportMode::VoiceMonitor:
            return std::nullopt;
    }
    throw std::out_of_range("unknown tracking report mode");
}

// The fields after the IMEI; geofence corners and centre go latitude first.
std::vector<std::string> modeFields(const TrackingCommandForm& form) {
    const std::string format = std::to_string(form.reportFormatIndex);
    switch (form.reportMode) {
        case TrackingReportMode::ImmediateReport:
            return {format};
        case TrackingReportMode::PeriodReport:
            return {form.reportInterval, form.numberOfReports, format};
        case TrackingReportMode::Geofence:
            if (form.shape == GeofenceShape::Rectangle) {
                return {"R",
                        form.latitude1,
                        form.longitude1,
                        form.latitude2,
                        form.longitude2,
                        form.inOut,
                        form.reportInterval,
                        form.numberOfReports,
                        format};
            }
            return {"C",        form.circleLatitude, form.circleLongitude, form.radius,
                    form.inOut, form.reportInterval, form.numberOfReports, format};
        case TrackingReportMode::StopReport:
        case TrackingReportMode::VoiceMonitor:
            return {};
    }
    throw std::out_of_range("unknown tracking report mode");
}

char modeCode(TrackingReportMode mode) {
    switch (mode) {
        case TrackingReportMode::ImmediateReport:
            return '0';
        case TrackingReportMode::PeriodReport:
            return '1';
        case TrackingReportMode::StopReport:
            return '2';
        case TrackingReportMode::Geofence:
            return '4';
        case TrackingReportMode::VoiceMonitor:
            return '6';
    }
    throw std::out_of_range("unknown tracking report mode");
}

}  // namespace

CommandOutcome prepareTrackingCommand(const TrackingCommandForm& form,
                                      const CommandTarget& target) {
    if (auto refusal = checkSessionAndUser(target)) {
        return *refusal;
    }
    if (!isAcceptableReturnPhone(form.returnPhone)) {
        return CommandMessage{ReturnPhoneInvalidText, MessageOwner::MainWindow};
    }
    if (Refusal refusal = checkModeFields(form)) {
        return CommandMessage{*refusal, MessageOwner::MainWindow};
    }
    const std::vector<std::string> fields = modeFields(form);
    return CommandSms{target.user->phone, commandText(modeCode(form.reportMode), target.user->imei,
                                                      fields, form.returnPhone)};
}

}  // namespace kv820
