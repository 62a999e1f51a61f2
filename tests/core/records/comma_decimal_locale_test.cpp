// The program runs under the operator's locale (the Qt application adopts it). Under a
// locale that writes decimals with a comma, every number in device text and files must
// still read and write with a point.
#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <string>
#include <vector>

#include "core/common/number_text.h"
#include "core/records/gpx_writer.h"
#include "core/records/kml_writer.h"
#include "core/report/report_fields.h"
#include "core/setup/setup_message_codec.h"
#include "core/setup/time_zone_text.h"
#include "support/report_rows_fixture.h"

namespace kv820 {
namespace {

using test::at;
using test::CollectingSink;
using test::StoredReports;

// German by the name each system knows it by: Linux's locale name, Windows' language and
// country with its code page.
bool adoptCommaDecimalLocale() {
    for (const char* name : {"de_DE.UTF-8", "German_Germany.1252"}) {
        if (std::setlocale(LC_ALL, name) &&
            std::strcmp(std::localeconv()->decimal_point, ",") == 0) {
            return true;
        }
    }
    return false;
}

class CommaDecimalLocale : public testing::Test {
  protected:
    void SetUp() override {
        previous_ = std::setlocale(LC_ALL, nullptr);
        if (!adoptCommaDecimalLocale()) {
            GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed (scripts/install-deps.sh)";
        }
    }
    void TearDown() override { std::setlocale(LC_ALL, previous_.c_str()); }

  private:
    std::string previous_;
};

struct TextCase {
    std::string written;
    std::string expected;
};

TEST_F(CommaDecimalLocale, DeviceNumbersAreReadAndWrittenWithAPoint) {
    const std::vector<TextCase> cases{
        {timeZoneText(8 * 3600), "+8.00"},
        {latitudeText("N2503.1234"), "25.052057"},
        {longitudeText("W12130.6000"), "-121.510000"},
        {speedText("10.5"), "19.4460"},
        // The zone keeps its point inside the setup message, so its fields stay in place.
        {EncodeSetupFile(SetupFile{}, timeZoneText(8 * 3600))[0], "0,3,,,,,,,,+8.00,2,30,1,,,"},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(c.written, c.expected);
    }
    EXPECT_DOUBLE_EQ(leadingDecimal("-90.000001"), -90.000001);
    EXPECT_FALSE(isDecimalWithin("-90.000001", 90.0));
    EXPECT_TRUE(isDecimalWithin("25.047924", 90.0));
    EXPECT_DOUBLE_EQ(leadingDecimal("0,5"), 0.0);
}

TEST_F(CommaDecimalLocale, TrackFilesCarryTheStoredCoordinates) {
    const StoredReports rows({at("25.047924", "121.517081"), at("90.5", "121.5")});
    const SearchCriteria criteria{"Tom", {2007, 5, 1, 0, 0, 0}, {2007, 5, 31, 23, 59, 59}};
    CollectingSink gpx;
    ASSERT_EQ(writeGpx(gpx, criteria, rows), ExportOutcome::Written);
    EXPECT_NE(gpx.text.find("<trkpt lat=\"25.047924\" lon=\"121.517081\">"), std::string::npos);
    EXPECT_NE(gpx.text.find("<ele>12.5</ele>"), std::string::npos);
    // A latitude beyond the pole is no track point.
    EXPECT_EQ(gpx.text.find("lat=\"90.5\""), std::string::npos);
    CollectingSink kml;
    ASSERT_EQ(writeKml(kml, criteria, rows), ExportOutcome::Written);
    EXPECT_NE(kml.text.find("121.517081, 25.047924, 0.000000"), std::string::npos);
}

}  // namespace
}  // namespace kv820
