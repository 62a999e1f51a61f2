#include "core/commands/tracking_command.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "command_test_values.h"

namespace kv820 {
namespace {

using namespace command_test;

using Mode = TrackingReportMode;
using Shape = GeofenceShape;
using Edit = std::function<void(TrackingCommandForm&)>;

// Every field valid for its mode; each case breaks or changes what it is about.
TrackingCommandForm Filled(Mode mode, const Edit& edit = {}, Shape shape = Shape::Rectangle) {
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
    if (edit) {
        edit(form);
    }
    return form;
}

TrackingCommandForm Circle(const Edit& edit) {
    return Filled(Mode::Geofence, edit, Shape::Circle);
}

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

const TrackingCommandForm BadEverything = Filled(Mode::PeriodReport, [](auto& f) {
    f.returnPhone = "09 11";
    f.reportInterval = "";
});

INSTANTIATE_TEST_SUITE_P(
    Refusals, TrackingCommand,
    testing::Values(
        TrackingCase{"no session comes first",
                     BadEverything,
                     {false, std::nullopt, std::nullopt},
                     Page("Connection is ERROR!!!")},
        TrackingCase{"no selection before any field",
                     BadEverything,
                     {true, std::nullopt, std::nullopt},
                     Page("No user is choosed.")},
        TrackingCase{"empty name never matches a free slot",
                     Filled(Mode::StopReport),
                     {true, "", UserContact{"", ""}},
                     Page("No user is choosed.")},
        TrackingCase{"return phone before mode fields", BadEverything, RegisteredUser(),
                     Main("Return Phone Number input is a failure.")},
        TrackingCase{"interval empty",
                     Filled(Mode::PeriodReport,
                            [](auto& f) {
                                f.reportInterval = "";
                                f.numberOfReports = "";
                            }),
                     RegisteredUser(), Main("Report Time must have a value.")},
        TrackingCase{"interval zero",
                     Filled(Mode::PeriodReport, [](auto& f) { f.reportInterval = "0"; }),
                     RegisteredUser(), Main("Report Time input is 1 ~ 86400")},
        TrackingCase{"interval that would wrap to 60",
                     Filled(Mode::PeriodReport, [](auto& f) { f.reportInterval = "4294967356"; }),
                     RegisteredUser(), Main("Report Time input is 1 ~ 86400")},
        TrackingCase{"number of reports not digits",
                     Filled(Mode::PeriodReport, [](auto& f) { f.numberOfReports = "1O"; }),
                     RegisteredUser(), Main("Number of Reports input is a failure.")},
        TrackingCase{"geofence checks timing before corners",
                     Filled(Mode::Geofence,
                            [](auto& f) {
                                f.reportInterval = "86401";
                                f.longitude1 = "";
                            }),
                     RegisteredUser(), Main("Report Time input is 1 ~ 86400")},
        TrackingCase{"corner empty", Filled(Mode::Geofence, [](auto& f) { f.latitude2 = ""; }),
                     RegisteredUser(), Main("Latitude 2 must have a value.")},
        TrackingCase{"corner bad", Filled(Mode::Geofence, [](auto& f) { f.longitude1 = "E121"; }),
                     RegisteredUser(), Main("Longitude 1 input is a failure.")},
        TrackingCase{"radius 0.9", Circle([](auto& f) { f.radius = "0.9"; }), RegisteredUser(),
                     Main("Radius must be greater than 0")},
        TrackingCase{"radius a lone point", Circle([](auto& f) { f.radius = "."; }),
                     RegisteredUser(), Main("Radius must be greater than 0")},
        TrackingCase{"circle checks centre before radius", Circle([](auto& f) {
                         f.circleLatitude = "25 N";
                         f.radius = "";
                     }),
                     RegisteredUser(), Main("Latitude input is a failure.")}));

INSTANTIATE_TEST_SUITE_P(
    Texts, TrackingCommand,
    testing::Values(
        TrackingCase{"immediate report format 1",
                     Filled(Mode::ImmediateReport, [](auto& f) { f.reportFormatIndex = 1; }),
                     RegisteredUser(), Sms("?0,354612071234567,1!")},
        TrackingCase{"period report with return number",
                     Filled(Mode::PeriodReport,
                            [](auto& f) {
                                f.reportInterval = "0060";
                                f.numberOfReports = "10";
                                f.returnPhone = "+15550100";
                            }),
                     RegisteredUser(), Sms("?1,354612071234567,0060,10,0,+15550100!")},
        TrackingCase{"stop report ignores text left in disabled fields",
                     Filled(Mode::StopReport,
                            [](auto& f) {
                                f.reportInterval = "0";
                                f.numberOfReports = "x";
                                f.longitude1 = "";
                                f.reportFormatIndex = 1;
                            }),
                     RegisteredUser(), Sms("?2,354612071234567!")},
        TrackingCase{"geofence circle", Circle([](auto& f) {
                         f.inOut = "Out";
                         f.radius = "1.9";
                         f.longitude1 = "not used";
                     }),
                     RegisteredUser(), Sms("?4,354612071234567,C,25.05,121.5,1.9,Out,30,0,0!")},
        TrackingCase{"geofence rectangle latitude before longitude",
                     Filled(Mode::Geofence, [](auto& f) { f.radius = ""; }), RegisteredUser(),
                     Sms("?4,354612071234567,R,25.05,121.5,25.1,121.6,In,30,0,0!")},
        TrackingCase{"voice monitor",
                     Filled(Mode::VoiceMonitor, [](auto& f) { f.returnPhone = "110"; }),
                     RegisteredUser(), Sms("?6,354612071234567,110!")},
        TrackingCase{"sent to the chosen user's phone",
                     Filled(Mode::StopReport),
                     {true, "van", UserContact{"+886912000111", "490154203237518"}},
                     CommandOutcome(CommandSms{"+886912000111", "?2,490154203237518!"})}));

}  // namespace
}  // namespace kv820
