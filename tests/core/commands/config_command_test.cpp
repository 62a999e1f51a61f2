#include "core/commands/config_command.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "command_test_values.h"

namespace kv820 {
namespace {

using namespace command_test;

using Parameter = ConfigParameter;
using Mode = DefaultReportMode;
using Edit = std::function<void(ConfigCommandForm&)>;

// The page as it first appears with the given parameter selected, then edited.
ConfigCommandForm form(Parameter parameter, const Edit& edit = {}) {
    ConfigCommandForm form;
    form.parameter = parameter;
    if (edit) {
        edit(form);
    }
    return form;
}

// "SMS Period Report" with every field valid; each case breaks what it is about.
ConfigCommandForm period(const Edit& edit) {
    return form(Parameter::DefaultReportModeSetting, [&](ConfigCommandForm& f) {
        f.defaultReportMode = Mode::SmsPeriodReport;
        f.reportInterval = "60";
        f.numberOfReports = "100";
        edit(f);
    });
}

using Case = FormCase<ConfigCommandForm>;

const ConfigCommandForm BadEverything = form(Parameter::SosNumber, [](auto& f) {
    f.returnPhone = "09 11";
    f.sosNumber1 = "x";
});

// Each refusal is the first failing check; each text is what the page sends.
TEST(ConfigCommand, RefusesWithTheFirstFailingCheckOrBuildsTheText) {
    const Case cases[] = {
        // The session and user check is the tracking page's too: its cases are there.
        Case("no session comes first", BadEverything, page("Connection is ERROR!!!"),
             {false, std::nullopt, std::nullopt}),
        Case("return phone before parameter fields", BadEverything,
             page("Return Phone Number input is a failure.")),
        Case("switch on, number empty",
             form(Parameter::SmsDefaultReturnNumber, [](auto& f) { f.defaultReturnSwitch = true; }),
             page("SMS Default Return Phone Number must have a value.")),
        Case("period interval empty",
             period([](auto& f) { f.reportInterval = "", f.numberOfReports = ""; }),
             page("Return Interval must have a value.")),
        Case("period interval 4", period([](auto& f) { f.reportInterval = "4"; }),
             main("Return Interval input is 5 ~ 86400")),
        Case("period count 1000", period([](auto& f) { f.numberOfReports = "1000"; }),
             main("Number of Reports input is 0 ~ 999")),
        Case("stop report still checks interval characters",
             form(Parameter::DefaultReportModeSetting, [](auto& f) { f.reportInterval = "x"; }),
             page("Return Interval input is a failure.")),
        Case(
            "second SOS number bad",
            form(Parameter::SosNumber, [](auto& f) { f.sosNumber1 = "110", f.sosNumber2 = "1+1"; }),
            page("SOS Number 2 input is a failure.")),
        Case("switch on",
             form(Parameter::SmsDefaultReturnNumber,
                  [](auto& f) {
                      f.defaultReturnSwitch = true, f.defaultReturnNumber = "0912345678";
                  }),
             sms("?7,354612071234567,1,1,0912345678!")),
        Case("switch off ignores the number field",
             form(Parameter::SmsDefaultReturnNumber,
                  [](auto& f) { f.defaultReturnNumber = "+bad number"; }),
             sms("?7,354612071234567,1,0,!")),
        Case("fixing time default 3", form(Parameter::MaximumGpsFixingTime),
             sms("?7,354612071234567,2,3!")),
        Case("untouched defaults send stop report and format 1",
             form(Parameter::DefaultReportModeSetting), sms("?7,354612071234567,3,2,,,1,!")),
        Case("period report with default-mode return number",
             period([](auto& f) { f.defaultModeReturnPhone = "+15550100"; }),
             sms("?7,354612071234567,3,1,60,100,1,+15550100!")),
        Case("immediate report sends disabled fields as they are",
             form(Parameter::DefaultReportModeSetting,
                  [](auto& f) {
                      f.defaultReportMode = Mode::SmsImmediateReport, f.reportInterval = "1",
                      f.numberOfReports = "5000", f.reportFormatIndex = 0;
                  }),
             sms("?7,354612071234567,3,0,1,5000,0,!")),
        Case("SOS numbers with an empty one and a return phone",
             form(Parameter::SosNumber,
                  [](auto& f) {
                      f.sosNumber1 = "+886912345678", f.sosNumber3 = "119",
                      f.returnPhone = "0911222333";
                  }),
             sms("?7,354612071234567,4,+886912345678,,119,0911222333!"))};
    for (const Case& c : cases) {
        EXPECT_EQ(prepareConfigCommand(c.form, c.target), c.expected) << c.name;
    }
}

}  // namespace
}  // namespace kv820
