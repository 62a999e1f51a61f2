#include "core/commands/tracking_command.h"

#include <gtest/gtest.h>

#include <functional>
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

using Case = FormCase<TrackingCommandForm>;

const TrackingCommandForm BadEverything = Filled(Mode::PeriodReport, [](auto& f) {
    f.returnPhone = "09 11";
    f.reportInterval = "";
});

// Each refusal is the first failing check; each text is what the page sends.
TEST(TrackingCommand, RefusesWithTheFirstFailingCheckOrBuildsTheText) {
    const Case cases[] = {
        Case("no session comes first", BadEverything, Page("Connection is ERROR!!!"),
             {false, std::nullopt, std::nullopt}),
        Case("no selection before any field", BadEverything, Page("No user is choosed."),
             {true, std::nullopt, std::nullopt}),
        Case("empty name never matches a free slot", Filled(Mode::StopReport),
             Page("No user is choosed."), {true, "", UserContact{"", ""}}),
        Case("return phone before mode fields", BadEverything,
             Main("Return Phone Number input is a failure.")),
        Case("interval empty",
             Filled(Mode::PeriodReport,
                    [](auto& f) { f.reportInterval = "", f.numberOfReports = ""; }),
             Main("Report Time must have a value.")),
        Case("interval zero", Filled(Mode::PeriodReport, [](auto& f) { f.reportInterval = "0"; }),
             Main("Report Time input is 1 ~ 86400")),
        Case("interval that would wrap to 60",
             Filled(Mode::PeriodReport, [](auto& f) { f.reportInterval = "4294967356"; }),
             Main("Report Time input is 1 ~ 86400")),
        Case("number of reports not digits",
             Filled(Mode::PeriodReport, [](auto& f) { f.numberOfReports = "1O"; }),
             Main("Number of Reports input is a failure.")),
        Case("geofence checks timing before corners",
             Filled(Mode::Geofence, [](auto& f) { f.reportInterval = "86401", f.longitude1 = ""; }),
             Main("Report Time input is 1 ~ 86400")),
        Case("corner empty", Filled(Mode::Geofence, [](auto& f) { f.latitude2 = ""; }),
             Main("Latitude 2 must have a value.")),
        Case("corner bad", Filled(Mode::Geofence, [](auto& f) { f.longitude1 = "E121"; }),
             Main("Longitude 1 input is a failure.")),
        Case("radius 0.9", Circle([](auto& f) { f.radius = "0.9"; }),
             Main("Radius must be greater than 0")),
        Case("radius a lone point", Circle([](auto& f) { f.radius = "."; }),
             Main("Radius must be greater than 0")),
        Case("circle checks centre before radius",
             Circle([](auto& f) { f.circleLatitude = "25 N", f.radius = ""; }),
             Main("Latitude input is a failure.")),
        Case("immediate report format 1",
             Filled(Mode::ImmediateReport, [](auto& f) { f.reportFormatIndex = 1; }),
             Sms("?0,354612071234567,1!")),
        Case("period report with return number",
             Filled(Mode::PeriodReport,
                    [](auto& f) {
                        f.reportInterval = "0060", f.numberOfReports = "10",
                        f.returnPhone = "+15550100";
                    }),
             Sms("?1,354612071234567,0060,10,0,+15550100!")),
        Case("stop report ignores text left in disabled fields",
             Filled(Mode::StopReport,
                    [](auto& f) {
                        f.reportInterval = "0", f.numberOfReports = "x", f.longitude1 = "",
                        f.reportFormatIndex = 1;
                    }),
             Sms("?2,354612071234567!")),
        Case("geofence circle",
             Circle([](auto& f) { f.inOut = "Out", f.radius = "1.9", f.longitude1 = "not used"; }),
             Sms("?4,354612071234567,C,25.05,121.5,1.9,Out,30,0,0!")),
        Case("geofence rectangle latitude before longitude",
             Filled(Mode::Geofence, [](auto& f) { f.radius = ""; }),
             Sms("?4,354612071234567,R,25.05,121.5,25.1,121.6,In,30,0,0!")),
        Case("voice monitor", Filled(Mode::VoiceMonitor, [](auto& f) { f.returnPhone = "110"; }),
             Sms("?6,354612071234567,110!")),
        Case("sent to the chosen user's phone", Filled(Mode::StopReport),
             CommandOutcome(CommandSms{"+886912000111", "?2,490154203237518!"}),
             {true, "van", UserContact{"+886912000111", "490154203237518"}})};
    for (const Case& c : cases) {
        EXPECT_EQ(PrepareTrackingCommand(c.form, c.target), c.expected) << c.name;
    }
}

}  // namespace
}  // namespace kv820
