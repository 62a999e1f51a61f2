#include "core/commands/config_enabling_rules.h"

#include <gtest/gtest.h>

#include <ostream>

namespace kv820 {
namespace {

struct EnablingCase {
    ConfigParameter parameter;
    bool defaultReturnSwitch;
    DefaultReportMode defaultReportMode;
    ConfigControlStates expected;
};

void PrintTo(const EnablingCase& c, std::ostream* os) {
    *os << ConfigParameterNames[static_cast<int>(c.parameter)]
        << (c.defaultReturnSwitch ? ", switch on, " : ", switch off, ")
        << DefaultReportModeNames[static_cast<int>(c.defaultReportMode)];
}

class ConfigEnabling : public testing::TestWithParam<EnablingCase> {};

TEST_P(ConfigEnabling, EnablesWhatTheParameterUses) {
    const EnablingCase& c = GetParam();
    const ConfigControlStates actual =
        ConfigEnablingRules(c.parameter, c.defaultReturnSwitch, c.defaultReportMode);
    EXPECT_EQ(actual.defaultReturnSwitch, c.expected.defaultReturnSwitch);
    EXPECT_EQ(actual.defaultReturnNumber, c.expected.defaultReturnNumber);
    EXPECT_EQ(actual.maximumGpsFixingTime, c.expected.maximumGpsFixingTime);
    EXPECT_EQ(actual.defaultReportMode, c.expected.defaultReportMode);
    EXPECT_EQ(actual.reportFormat, c.expected.reportFormat);
    EXPECT_EQ(actual.reportIntervalAndCount, c.expected.reportIntervalAndCount);
    EXPECT_EQ(actual.sosNumbers, c.expected.sosNumbers);
}

using P = ConfigParameter;
using M = DefaultReportMode;
constexpr bool on = true;
constexpr bool off = false;

// Columns: switch box, default return number, fixing time, default mode and its return
// number, format, interval and count, SOS numbers.
INSTANTIATE_TEST_SUITE_P(
    EveryParameter, ConfigEnabling,
    testing::Values(
        EnablingCase{
            P::SmsDefaultReturnNumber, off, M::StopReport, {on, off, off, off, off, off, off}},
        EnablingCase{
            P::SmsDefaultReturnNumber, on, M::StopReport, {on, on, off, off, off, off, off}},
        EnablingCase{
            P::SmsDefaultReturnNumber, on, M::SmsPeriodReport, {on, on, off, off, off, off, off}},
        EnablingCase{
            P::MaximumGpsFixingTime, on, M::SmsPeriodReport, {off, off, on, off, off, off, off}},
        EnablingCase{P::DefaultReportModeSetting,
                     off,
                     M::SmsImmediateReport,
                     {off, off, off, on, on, off, off}},
        EnablingCase{
            P::DefaultReportModeSetting, on, M::SmsPeriodReport, {off, off, off, on, on, on, off}},
        EnablingCase{
            P::DefaultReportModeSetting, off, M::StopReport, {off, off, off, on, off, off, off}},
        EnablingCase{P::SosNumber, on, M::SmsPeriodReport, {off, off, off, off, off, off, on}}));

}  // namespace
}  // namespace kv820
