#include "sim/control_channel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "sim/auto_reporter.h"
#include "support/temp_dir.h"

namespace kv820::sim {
namespace {

TEST(ReportWords, DefaultsMakeAFullReportFromAnImeiAlone) {
    const TrackerReport report = reportFromWords({"354612071234567"}, 0);
    EXPECT_EQ(report.imei, "354612071234567");
    EXPECT_EQ(report.fix, "3");
    EXPECT_EQ(report.longitude, "E12130.1234");
    EXPECT_EQ(report.latitude, "N2503.1234");
    EXPECT_EQ(report.gpsDate.size(), 6u);
    EXPECT_EQ(report.gpsTime.size(), 6u);
}

TEST(ReportWords, KeysOverrideFieldsAndCoordinatesTakeDegreesOrFields) {
    const TrackerReport report =
        reportFromWords({"report", "354612071234567", "kind=5", "fix=2", "date=070512",
                         "time=235959", "lon=-74.205", "lat=S3330.5", "speed=1", "sats=4"},
                        1);
    EXPECT_EQ(formatReportBody(report),
              "?354612071234567,5,2,070512,235959,W07412.3000,S3330.5,100,1,0,4,0!");
}

TEST(ReportWords, UnknownKeysAreRefused) {
    EXPECT_THROW(reportFromWords({"354612071234567", "colour=red"}, 0), std::invalid_argument);
    EXPECT_THROW(reportFromWords({}, 0), std::invalid_argument);
}

class ModemControl : public testing::Test {
  protected:
    std::unique_ptr<PtySimulator> simulator = PtySimulator::modem();
    ControlChannel channel{*simulator};
};

TEST_F(ModemControl, InjectsListsAndReportsFailures) {
    EXPECT_EQ(channel.execute("sms +15550100 hello there"), "index 1\nok\n");
    EXPECT_EQ(channel.execute("store 354612071234567 date=070512 time=101010"), "index 2\nok\n");
    EXPECT_EQ(channel.execute("burst 3 354612071234567"), "stored 3\nok\n");
    const std::string stored = channel.execute("stored");
    EXPECT_EQ(stored.find("stored 1 \"REC UNREAD\" +15550100 hello there\n"), 0u);
    EXPECT_NE(stored.find("stored 5 \"REC UNREAD\""), std::string::npos);
    EXPECT_EQ(channel.execute("sent"), "ok\n");
    EXPECT_EQ(channel.execute("setup none"), "error: not a command of this role: setup\n");
    EXPECT_EQ(channel.execute("cut x"), "error: not a number: x\n");
    EXPECT_EQ(channel.execute("# a comment"), "");
    EXPECT_EQ(channel.execute("quit"), "ok\n");
    EXPECT_TRUE(channel.quitRequested());
}

TEST_F(ModemControl, FaultCommandsReachTheDevice) {
    EXPECT_EQ(channel.execute("error at+cnmi"), "ok\n");
    const std::string reply =
        simulator->withDevice([](AtDeviceSimulator& d) { return d.feed("at+cnmi=1,1\r"); });
    EXPECT_EQ(reply, "at+cnmi=1,1\r\r\nERROR\r\n");
    EXPECT_EQ(channel.execute("clear"), "ok\n");
    EXPECT_EQ(channel.execute("silence"), "ok\n");
    EXPECT_EQ(simulator->withDevice([](AtDeviceSimulator& d) { return d.feed("at\r"); }), "");
}

TEST_F(ModemControl, APortVanishesWithItsLinkAndReappearsBehindItWithTheStoredMessages) {
    const test::TempDir dir;
    const std::string link = dir.file("kv820-modem");
    simulator->setStablePath(link);
    EXPECT_EQ(channel.execute("reappear"), "error: the port is there (vanish comes first)\n");
    channel.execute("store-sms +15550100 kept");
    EXPECT_EQ(channel.execute("vanish"), "ok\n");
    EXPECT_FALSE(std::filesystem::is_symlink(link));
    EXPECT_EQ(channel.execute("reappear"), "ok\n");
    EXPECT_EQ(std::filesystem::read_symlink(link), simulator->devicePath());
    EXPECT_EQ(channel.execute("stored").find("stored 1 \"REC UNREAD\" +15550100 kept\n"), 0u);
}

TEST(TrackerControl, ChangesSimAndSetupMessages) {
    auto simulator = PtySimulator::tracker();
    ControlChannel channel(*simulator);
    EXPECT_EQ(channel.execute("sim pin 4321"), "ok\n");
    EXPECT_EQ(channel.execute("setup doubled"), "ok\n");
    simulator->withTracker([](TrackerModuleSimulator& t) {
        EXPECT_EQ(t.sim().state(), SimCard::State::PinRequired);
        EXPECT_EQ(t.sim().pin(), "4321");
        EXPECT_EQ(t.storage().size(), 5u);
    });
    EXPECT_EQ(channel.execute("report 354612071234567"),
              "error: not a command of this role: report\n");
}

TEST(AutoReporter, EveryTrackerMovesALittleEachTimeWithA3DFix) {
    AutoReporter reporter({"354612071234567", "354612071234568"});
    const auto first = reporter.next(1336435199);
    const auto second = reporter.next(1336435259);
    ASSERT_EQ(first.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(second[i].fix, "3");
        EXPECT_EQ(second[i].gpsTime, "000059");
        const double moved = coordinateFieldDegrees(second[i].longitude) -
                             coordinateFieldDegrees(first[i].longitude);
        const double movedNorth =
            coordinateFieldDegrees(second[i].latitude) - coordinateFieldDegrees(first[i].latitude);
        EXPECT_GT(std::abs(moved) + std::abs(movedNorth), 0.0);
        EXPECT_LT(std::abs(moved) + std::abs(movedNorth), 0.01);
    }
    EXPECT_NE(first[0].longitude, first[1].longitude);
}

}  // namespace
}  // namespace kv820::sim
