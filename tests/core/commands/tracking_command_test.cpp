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
TrackingCommandForm filled(Mode mode, const Edit& edit = {}, Shape shape = Shape::Rectangle) {
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

TrackingCommandForm circle(const Edit& edit) {
    return filled(Mode::Geofence, edit, Shape::Circle);
}

using Case = FormCase<TrackingCommandForm>;

const TrackingCommandForm BadEverything = filled(Mode::PeriodReport, [](auto& f) {
    f.returnPhone = "09 11";
    f.reportInterval = "";
});

// Each refusal is the first failing check; each text is what the page sends.
TEST(TrackingCommand, RefusesWithTheFirstFailingCheckOrBuildsTheText) {
    const Case cases[] = {
        Case("no session comes first", BadEverything, page("Connection is ERROR!!!"),
             {false, std::nullopt, std::nullopt}),
        Case("no selection before any field", BadEverything, page("No user is choosed."),
             {true, std::nullopt, std::nullopt}),
        Case("empty name never matches a free slot", filled(Mode::StopReport),
             page("No user is choosed."), {true, "", UserContact{"", ""}}),
        Case("return phone before mode fields", BadEverything,
             main("Return Phone Number input is a failure.")),
        Case("interval empty",
             filled(Mode::PeriodReport,
                    [](auto& f) { f.reportInterval = "", f.numberOfReports = ""; }),
             main("Report Time must have a value.")),
        Case("interval zero", filled(Mode::PeriodReport, [](auto& f) { f.reportInterval = "0"; }),
             main("Report Time input is 1 ~ 86400")),
        Case("interval that would wrap to 60",
             filled(Mode::PeriodReport, [](auto& f) { f.reportInterval = "4294967356"; }),
             main("Report Time input is 1 ~ 86400")),
        Case("number of reports not digits",
             filled(Mode::PeriodReport, [](auto& f) { f.numberOfReports = "1O"; }),
             main("Number of Reports input is a failure.")),
        Case("geofence checks timing before corners",
             filled(Mode::Geofence, [](auto& f) { f.reportInterval = "86401", f.longitude1 = ""; }),
             main("Report Time input is 1 ~ 86400")),
        Case("corner empty", filled(Mode::Geofence, [](auto& f) { f.latitude2 = ""; }),
             main("Latitude 2 must have a value.")),
        Case("corner bad", filled(Mode::Geofence, [](auto& f) { f.longitude1 = "E121"; }),
             main("Longitude 1 input is a failure.")),
        Case("radius 0.9", circle([](auto& f) { f.radius = "0.9"; }),
             main("Radius must be greater than 0")),
        Case("radius a lone point", circle([](auto& f) { f.radius = "."; }),
             main("Radius must be greater than 0")),
        Case("circle checks centre before radius",
             circle([](auto& f) { f.circleLatitude = "25 N", f.radius = ""; }),
             main("Latitude input is a failure.")),
        Case("immediate report format 1",
             filled(Mode::ImmediateReport, [](auto& f) { f.reportFormatIndex = 1; }),
             sms("?0,354612071234567,1!")),
        Case("period report with return number",
             filled(Mode::PeriodReport,
                    [](auto& f) {
                        f.reportInterval = "0060", f.numberOfReports = "10",
                        f.returnPhone = "+15550100";
                    }),
             sms("?1,354612071234567,0060,10,0,+15550100!")),
        Case("stop report ignores text left in disabled fields",
             filled(Mode::StopReport,
                    [](auto& f) {
                        f.reportInterval = "0", f.numberOfReports = "x", f.longitude1 = "",
                        f.reportFormatIndex = 1;
                    }),
             sms("?2,354612071234567!")),
        Case("geofence circle",
             circle([](auto& f) { f.inOut = "Out", f.radius = "1.9", f.longitude1 = "not used"; }),
             sms("?4,354612071234567,C,25.05,121.5,1.9,Out,30,0,0!")),
        Case("geofence rectangle latitude before longitude",
             filled(Mode::Geofence, [](auto& f) { f.radius = ""; }),
             sms("?4,354612071234567,R,25.05,121.5,25.1,121.6,In,30,0,0!")),
        Case("voice monitor", filled(Mode::VoiceMonitor, [](auto& f) { f.returnPhone = "110"; }),
             sms("?6,354612071234567,110!")),
        Case("sent to the chosen user's phone", filled(Mode::StopReport),
             CommandOutcome(CommandSms{"+886912000111", "?2,490154203237518!"}),
             {true, "van", UserContact{"+886912000111", "490154203237518"}})};
    for (const Case& c : cases) {
        EXPECT_EQ(prepareTrackingCommand(c.form, c.target), c.expected) << c.name;
    }
}

}  // namespace
}  // namespace kv820
