#include <gtest/gtest.h>

#include <QProcess>
#include <QTest>
#include <ctime>
#include <memory>

#include "e2e/e2e_database.h"
#include "sim/pty_simulator.h"
#include "support/temp_dir.h"

namespace kv820 {
namespace {

using test::GpslogColumn;
using test::RegisteredImei;

constexpr int StartMs = 40000;  // the modem start pauses 2 x 5 s
constexpr std::time_t May2007 = 1178965230;

// kv820-callcenter --receive, run as the operator would run it, in a folder of its own.
class HeadlessReceiverEndToEnd : public ::testing::Test {
  protected:
    HeadlessReceiverEndToEnd() : modem(sim::PtySimulator::modem()) {
        test::CreateDatabaseWithTruck(dir.file(DatabaseFileName));
        receiver.setWorkingDirectory(QString::fromStdString(dir.path().string()));
        receiver.setProcessChannelMode(QProcess::SeparateChannels);
    }
    ~HeadlessReceiverEndToEnd() override {
        if (receiver.state() != QProcess::NotRunning) {
            receiver.kill();
            receiver.waitForFinished();
        }
    }

    void start(const QString& port) {
        receiver.start(QStringLiteral(KV820_CALLCENTER_PROGRAM),
                       {QStringLiteral("--receive"), port});
        ASSERT_TRUE(receiver.waitForStarted());
    }

    QByteArray output() {
        printed += receiver.readAllStandardOutput();
        return printed;
    }

    test::TempDir dir;
    std::unique_ptr<sim::PtySimulator> modem;
    QProcess receiver;
    QByteArray printed;
};

TEST_F(HeadlessReceiverEndToEnd, StoresReportsAndClosesTheSessionOnSigterm) {
    start(QString::fromStdString(modem->devicePath()));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return modem->withModem([](sim::ModemSimulator& m) { return m.sessionOpen(); }); },
        StartMs));

    modem->withModem([](sim::ModemSimulator& m) {
        m.injectReport(sim::TrackerReport::at(RegisteredImei, 121.502057, 25.052057, May2007));
        m.injectReport(sim::TrackerReport::at("359876543210987", 121.502057, 25.052057, May2007));
    });
    const std::string path = dir.file(DatabaseFileName);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return GpslogColumn(path, "imei").size() == 2 &&
                   modem->withModem([](sim::ModemSimulator& m) { return m.storage().size(); }) == 0;
        },
        StartMs));
    EXPECT_EQ(GpslogColumn(path, "imei"), (std::vector<std::string>{RegisteredImei, ""}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return output().contains("at+cmgd=2"); }, 5000));
    // Modem lines as the log shows them: the line, then a line break of its own.
    EXPECT_TRUE(output().contains("+CMTI: \"SM\",1\r\n\r\n")) << output().toStdString();

    receiver.terminate();  // SIGTERM
    ASSERT_TRUE(receiver.waitForFinished(5000));
    EXPECT_EQ(receiver.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(receiver.exitCode(), 0);
    EXPECT_FALSE(modem->portOpen());
}

TEST_F(HeadlessReceiverEndToEnd, AFailedStartPrintsTheErrorAndExitsWithOne) {
    modem->withModem([](sim::ModemSimulator& m) { m.faults().setSilent(true); });
    start(QString::fromStdString(modem->devicePath() + ":"));
    ASSERT_TRUE(receiver.waitForFinished(StartMs));
    EXPECT_EQ(receiver.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(receiver.exitCode(), 1);
    EXPECT_EQ(output(), QByteArray("COM Port ERROR!!!\n"));
    EXPECT_FALSE(modem->portOpen());
}

}  // namespace
}  // namespace kv820
