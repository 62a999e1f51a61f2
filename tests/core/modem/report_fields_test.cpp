#include "core/modem/report_fields.h"

#include <gtest/gtest.h>

namespace kv820 {
namespace {

struct TextCase {
    const char* piece;
    const char* expected;
};

class ReportKindTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(ReportKindTextTest, MapsCodeToText) {
    EXPECT_EQ(ReportKindText(GetParam().piece), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ReportKindTextTest,
    ::testing::Values(TextCase{"0", "Immediate report"}, TextCase{"1", "Period report"},
                      TextCase{"3", "Time report"}, TextCase{"5", "SOS report"}, TextCase{"2", ""},
                      TextCase{"4", ""}, TextCase{"6", ""}, TextCase{"-1", ""},
                      TextCase{"01", "Period report"}, TextCase{"1x", "Period report"},
                      // No number at all is an unknown code, not 0.
                      TextCase{"", ""}, TextCase{"x0", ""}, TextCase{"4294967296", ""}));

class FixTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(FixTextTest, MapsCodeToText) {
    EXPECT_EQ(FixText(GetParam().piece), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Codes, FixTextTest,
                         ::testing::Values(TextCase{"1", "No Fix"}, TextCase{"2", "2D"},
                                           TextCase{"3", "3D"}, TextCase{"0", ""},
                                           TextCase{"4", ""}, TextCase{"", ""},
                                           TextCase{" 3", "3D"}, TextCase{"D", ""}));

class LongitudeTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(LongitudeTextTest, GivesSignedDegrees) {
    EXPECT_EQ(LongitudeText(GetParam().piece), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Hemispheres, LongitudeTextTest,
    ::testing::Values(TextCase{"E12130.1234", "121.502057"}, TextCase{"W07412.3", "-74.205000"},
                      TextCase{"E00000.0000", "0.000000"}, TextCase{"W00000.0000", "-0.000000"},
                      TextCase{"E17959.9999", "179.999998"}, TextCase{"E00030.0000", "0.500000"},
                      // Only 'E' is east: a lower-case letter or none counts as west.
                      TextCase{"e12130.1234", "-121.502057"}, TextCase{"", "-0.000000"},
                      TextCase{"E", "0.000000"}, TextCase{"E121", "1.210000"},
                      // A sign inside the digits is not read: the text never gets two signs.
                      TextCase{"W-0741", "-0.273333"}));

class LatitudeTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(LatitudeTextTest, GivesSignedDegrees) {
    EXPECT_EQ(LatitudeText(GetParam().piece), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Hemispheres, LatitudeTextTest,
                         ::testing::Values(TextCase{"N2503.1234", "25.052057"},
                                           TextCase{"S3330.5", "-33.508333"},
                                           TextCase{"N8959.9999", "89.999998"},
                                           TextCase{"S0000.0001", "-0.000002"},
                                           TextCase{"", "-0.000000"}, TextCase{"N25", "0.250000"},
                                           TextCase{"X2503.1234", "-25.052057"}));

class SpeedTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(SpeedTextTest, ConvertsKnotsToKilometresPerHour) {
    EXPECT_EQ(SpeedText(GetParam().piece), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Speeds, SpeedTextTest,
                         ::testing::Values(TextCase{"10", "18.5200"}, TextCase{"1", "1.8520"},
                                           TextCase{"0", "0.0000"}, TextCase{"", "0.0000"},
                                           TextCase{"abc", "0.0000"}, TextCase{"5.5", "10.1860"},
                                           TextCase{"0.1", "0.1852"}, TextCase{".5", "0.9260"},
                                           TextCase{"12.34kn", "22.8537"},
                                           TextCase{"100.000", "185.2000"}));

TEST(ReceiveDateText, PrefixesTheCenturyToTheStampDate) {
    EXPECT_EQ(ReceiveDateText("\"07/05/12"), "2007/05/12");
    EXPECT_EQ(ReceiveDateText("\"24/02/29"), "2024/02/29");
}

TEST(ReceiveDateText, ShortPiecesGiveOnlyTheCentury) {
    EXPECT_EQ(ReceiveDateText(""), "20");
    EXPECT_EQ(ReceiveDateText("\""), "20");
}

TEST(ReceiveTimeText, TakesTheFirstEightCharacters) {
    EXPECT_EQ(ReceiveTimeText("10:20:30+32\"\r\n?356789012345678"), "10:20:30");
    EXPECT_EQ(ReceiveTimeText("10:20"), "10:20");
    EXPECT_EQ(ReceiveTimeText(""), "");
}

}  // namespace
}  // namespace kv820
