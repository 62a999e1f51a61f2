#include "core/commands/tracking_command.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "command_test_values.h"

namespace kv820 {
namespace {

using namespace command_test;

// Every field valid for its mode; each case breaks or changes what it is about.
TrackingCommandForm Filled(TrackingReportMode mode,
                           GeofenceShape shape = GeofenceShape::Rectangle) {
    TrackingCommandForm form;
    form.reportMode = mode;
    form.shape = shape;
    form.reportInterval = "30";
    form.numberOfReports = "0";
    form.longitude1 = "121.5";
    form.latitude1 = "25.05";
    form.longitude2 = "121.6";
    form.latitude2 = "25.1";
    form.circleLongitude = "121.5";
    form.circleLatitude = "25.05";
    form.radius = "500";
    return form;
}

using Mode = TrackingReportMode;
using Shape = GeofenceShape;

struct TrackingCase {
    const char* name;
    TrackingCommandForm form;
    CommandTarget target;
    CommandOutcome expected;
};

void PrintTo(const TrackingCase& c, std::ostream* os) {
    *os << c.name;
}

class TrackingCommand : public testing::TestWithParam<TrackingCase> {};

TEST_P(TrackingCommand, RefusesWithTheFirstFailingCheckOrBuildsTheText) {
    const TrackingCase& c = GetParam();
    EXPECT_EQ(PrepareTrackingCommand(c.form, c.target), c.expected);
}

TrackingCommandForm With(TrackingCommandForm form, std::function<void(TrackingCommandForm&)> edit) {
    edit(form);
    return form;
}

CommandTarget NoSession() {
    return {false, "car", UserContact{UserPhone, Imei}};
}
CommandTarget NoSelection() {
    return {true, std::nullopt, std::nullopt};
}
CommandTarget Unregistered() {
    return {true, "ghost", std::nullopt};
}
CommandTarget FreeSlotName() {
    return {true, "", UserContact{"", ""}};
}

const TrackingCommandForm BadEverything = With(Filled(Mode::PeriodReport), [](auto& f) {
    f.returnPhone = "09 11";
    f.reportInterval = "";
});

INSTANTIATE_TEST_SUITE_P(
    Preconditions, TrackingCommand,
    testing::Values(
        TrackingCase{"no session comes first",
                     BadEverything,
                     {false, std::nullopt, std::nullopt},
                     Page("Connection is ERROR!!!")},
        TrackingCase{"no session with a user", Filled(Mode::StopReport), NoSession(),
                     Page("Connection is ERROR!!!")},
        TrackingCase{"no selection before any field", BadEverything, NoSelection(),
                     Page("No user is choosed.")},
        TrackingCase{"unregistered name", Filled(Mode::StopReport), Unregistered(),
                     Page("No user is choosed.")},
        TrackingCase{"empty name never matches a free slot", Filled(Mode::StopReport),
                     FreeSlotName(), Page("No user is choosed.")},
        TrackingCase{"return phone before mode fields", BadEverything, RegisteredUser(),
                     Main("Return Phone Number input is a failure.")},
        TrackingCase{"return phone with a space in any mode",
                     With(Filled(Mode::StopReport), [](auto& f) { f.returnPhone = "0911 222"; }),
                     RegisteredUser(), Main("Return Phone Number input is a failure.")},
        TrackingCase{"return phone with a second plus",
                     With(Filled(Mode::VoiceMonitor), [](auto& f) { f.returnPhone = "++1"; }),
                     RegisteredUser(), Main("Return Phone Number input is a failure.")}));

INSTANTIATE_TEST_SUITE_P(
    ReportTiming, TrackingCommand,
    testing::Values(
        TrackingCase{"interval empty",
                     With(Filled(Mode::PeriodReport),
                          [](auto& f) {
                              f.reportInterval = "";
                              f.numberOfReports = "";
                          }),
                     RegisteredUser(), Main("Report Time must have a value.")},
        TrackingCase{"interval with letter O",
                     With(Filled(Mode::PeriodReport), [](auto& f) { f.reportInterval = "6O"; }),
                     RegisteredUser(), Main("Report Time input is a failure.")},
        TrackingCase{"interval negative",
                     With(Filled(Mode::PeriodReport), [](auto& f) { f.reportInterval = "-1"; }),
                     RegisteredUser(), Main("Report Time input is a failure.")},
        TrackingCase{"interval zero",
                     With(Filled(Mode::PeriodReport), [](auto& f) { f.reportInterval = "0"; }),
                     RegisteredUser(), Main("Report Time input is 1 ~ 86400")},
        TrackingCase{"interval 86401",
                     With(Filled(Mode::PeriodReport), [](auto& f) { f.reportInterval = "86401"; }),
                     RegisteredUser(), Main("Report Time input is 1 ~ 86400")},
        TrackingCase{
            "interval that would wrap to 60",
            With(Filled(Mode::PeriodReport), [](auto& f) { f.reportInterval = "4294967356"; }),
            RegisteredUser(), Main("Report Time input is 1 ~ 86400")},
        TrackingCase{"number of reports empty",
                     With(Filled(Mode::PeriodReport), [](auto& f) { f.numberOfReports = ""; }),
                     RegisteredUser(), Main("Number of Reports must have a value.")},
        TrackingCase{"number of reports not digits",
                     With(Filled(Mode::PeriodReport), [](auto& f) { f.numberOfReports = "1O"; }),
                     RegisteredUser(), Main("Number of Reports input is a failure.")},
        TrackingCase{"geofence checks timing before corners",
                     With(Filled(Mode::Geofence),
                          [](auto& f) {
                              f.reportInterval = "86401";
                              f.longitude1 = "";
                          }),
                     RegisteredUser(), Main("Report Time input is 1 ~ 86400")},
        TrackingCase{"geofence number of reports before corners",
                     With(Filled(Mode::Geofence),
                          [](auto& f) {
                              f.numberOfReports = "";
                              f.longitude1 = "";
                          }),
                     RegisteredUser(), Main("Number of Reports must have a value.")}));

TrackingCommandForm Rectangle(std::function<void(TrackingCommandForm&)> edit) {
    return With(Filled(Mode::Geofence, Shape::Rectangle), std::move(edit));
}

INSTANTIATE_TEST_SUITE_P(
    RectangleCorners, TrackingCommand,
    testing::Values(
        TrackingCase{"longitude 1 empty", Rectangle([](auto& f) {
                         f.longitude1 = "";
                         f.latitude1 = "x";
                     }),
                     RegisteredUser(), Main("Longitude 1 must have a value.")},
        TrackingCase{"longitude 1 bad", Rectangle([](auto& f) { f.longitude1 = "E121"; }),
                     RegisteredUser(), Main("Longitude 1 input is a failure.")},
        TrackingCase{"latitude 1 empty", Rectangle([](auto& f) { f.latitude1 = ""; }),
                     RegisteredUser(), Main("Latitude 1 must have a value.")},
        TrackingCase{"latitude 1 bad", Rectangle([](auto& f) { f.latitude1 = "25,05"; }),
                     RegisteredUser(), Main("Latitude 1 input is a failure.")},
        TrackingCase{"longitude 2 empty", Rectangle([](auto& f) { f.longitude2 = ""; }),
                     RegisteredUser(), Main("Longitude 2 must have a value.")},
        TrackingCase{"longitude 2 bad", Rectangle([](auto& f) { f.longitude2 = "1-2"; }),
                     RegisteredUser(), Main("Longitude 2 input is a failure.")},
        TrackingCase{"latitude 2 empty", Rectangle([](auto& f) { f.latitude2 = ""; }),
                     RegisteredUser(), Main("Latitude 2 must have a value.")},
        TrackingCase{"latitude 2 bad", Rectangle([](auto& f) { f.latitude2 = "+25"; }),
                     RegisteredUser(), Main("Latitude 2 input is a failure.")}));

TrackingCommandForm Circle(std::function<void(TrackingCommandForm&)> edit) {
    return With(Filled(Mode::Geofence, Shape::Circle), std::move(edit));
}

INSTANTIATE_TEST_SUITE_P(
    CircleFields, TrackingCommand,
    testing::Values(TrackingCase{"longitude empty", Circle([](auto& f) { f.circleLongitude = ""; }),
                                 RegisteredUser(), Main("Longitude must have a value.")},
                    TrackingCase{"longitude bad", Circle([](auto& f) { f.circleLongitude = "a"; }),
                                 RegisteredUser(), Main("Longitude input is a failure.")},
                    TrackingCase{"latitude empty", Circle([](auto& f) { f.circleLatitude = ""; }),
                                 RegisteredUser(), Main("Latitude must have a value.")},
                    TrackingCase{"latitude bad", Circle([](auto& f) { f.circleLatitude = "25 N"; }),
                                 RegisteredUser(), Main("Latitude input is a failure.")},
                    TrackingCase{"radius empty", Circle([](auto& f) { f.radius = ""; }),
                                 RegisteredUser(), Main("Radius must have a value.")},
                    TrackingCase{"radius negative", Circle([](auto& f) { f.radius = "-5"; }),
                                 RegisteredUser(), Main("Radius input is a failure.")},
                    TrackingCase{"radius 0.9", Circle([](auto& f) { f.radius = "0.9"; }),
                                 RegisteredUser(), Main("Radius must be greater than 0")},
                    TrackingCase{"radius a lone point", Circle([](auto& f) { f.radius = "."; }),
                                 RegisteredUser(), Main("Radius must be greater than 0")},
                    TrackingCase{"circle checks centre before radius", Circle([](auto& f) {
                                     f.circleLatitude = "";
                                     f.radius = "";
                                 }),
                                 RegisteredUser(), Main("Latitude must have a value.")}));

INSTANTIATE_TEST_SUITE_P(
    CommandTexts, TrackingCommand,
    testing::Values(
        TrackingCase{"immediate report format 1",
                     With(Filled(Mode::ImmediateReport), [](auto& f) { f.reportFormatIndex = 1; }),
                     RegisteredUser(), Sms("?0,354612071234567,1!")},
        TrackingCase{"immediate report ignores bad disabled fields",
                     With(TrackingCommandForm{},
                          [](auto& f) {
                              f.reportInterval = "junk";
                              f.radius = "-";
                          }),
                     RegisteredUser(), Sms("?0,354612071234567,0!")},
        TrackingCase{"period report with return number",
                     With(Filled(Mode::PeriodReport),
                          [](auto& f) {
                              f.reportInterval = "60";
                              f.numberOfReports = "10";
                              f.returnPhone = "+15550100";
                          }),
                     RegisteredUser(), Sms("?1,354612071234567,60,10,0,+15550100!")},
        TrackingCase{"period report sends fields as typed",
                     With(Filled(Mode::PeriodReport),
                          [](auto& f) {
                              f.reportInterval = "0060";
                              f.numberOfReports = "0";
                              f.reportFormatIndex = 1;
                          }),
                     RegisteredUser(), Sms("?1,354612071234567,0060,0,1!")},
        TrackingCase{"period report interval 86400, count unbounded",
                     With(Filled(Mode::PeriodReport),
                          [](auto& f) {
                              f.reportInterval = "86400";
                              f.numberOfReports = "99999999999";
                          }),
                     RegisteredUser(), Sms("?1,354612071234567,86400,99999999999,0!")},
        TrackingCase{"period report lone plus return number",
                     With(Filled(Mode::PeriodReport),
                          [](auto& f) {
                              f.reportInterval = "1";
                              f.returnPhone = "+";
                          }),
                     RegisteredUser(), Sms("?1,354612071234567,1,0,0,+!")},
        TrackingCase{"stop report ignores text left in disabled fields",
                     With(Filled(Mode::StopReport),
                          [](auto& f) {
                              f.reportInterval = "0";
                              f.numberOfReports = "x";
                              f.longitude1 = "";
                              f.reportFormatIndex = 1;
                          }),
                     RegisteredUser(), Sms("?2,354612071234567!")},
        TrackingCase{"geofence circle", Circle([](auto& f) {
                         f.inOut = "Out";
                         f.longitude1 = "not used";
                     }),
                     RegisteredUser(), Sms("?4,354612071234567,C,25.05,121.5,500,Out,30,0,0!")},
        TrackingCase{"geofence circle radius 1.9 sent as typed", Circle([](auto& f) {
                         f.radius = "1.9";
                         f.reportFormatIndex = 1;
                         f.returnPhone = "0911222333";
                     }),
                     RegisteredUser(),
                     Sms("?4,354612071234567,C,25.05,121.5,1.9,In,30,0,1,0911222333!")},
        TrackingCase{"geofence circle radius that would wrap to 0",
                     Circle([](auto& f) { f.radius = "4294967296"; }), RegisteredUser(),
                     Sms("?4,354612071234567,C,25.05,121.5,4294967296,In,30,0,0!")},
        TrackingCase{"geofence rectangle latitude before longitude",
                     Rectangle([](auto& f) { f.radius = ""; }), RegisteredUser(),
                     Sms("?4,354612071234567,R,25.05,121.5,25.1,121.6,In,30,0,0!")},
        TrackingCase{"geofence rectangle lone minus sign sent as typed", Rectangle([](auto& f) {
                         f.latitude1 = "-";
                         f.longitude2 = "-.5";
                         f.inOut = "Out";
                     }),
                     RegisteredUser(), Sms("?4,354612071234567,R,-,121.5,25.1,-.5,Out,30,0,0!")},
        TrackingCase{"voice monitor",
                     With(Filled(Mode::VoiceMonitor), [](auto& f) { f.returnPhone = "110"; }),
                     RegisteredUser(), Sms("?6,354612071234567,110!")}));

TEST(TrackingCommandDestination, IsTheChosenUsersPhone) {
    const CommandTarget target{true, "van", UserContact{"+886912000111", "490154203237518"}};

    EXPECT_EQ(PrepareTrackingCommand(Filled(Mode::StopReport), target),
              CommandOutcome(CommandSms{"+886912000111", "?2,490154203237518!"}));
}

}  // namespace
}  // namespace kv820
