#include <gtest/gtest.h>

#include <signal.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
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

    void start(const QString& port, const QStringList& more = {}) {
        receiver.start(QStringLiteral(KV820_CALLCENTER_PROGRAM),
                       QStringList{QStringLiteral("--receive"), port} + more);
        ASSERT_TRUE(receiver.waitForStarted());
    }

    QByteArray output() {
        printed += receiver.readAllStandardOutput();
        return printed;
    }

    QByteArray logFileText(const std::string& name) {
        QFile file(QString::fromStdString(dir.file(name)));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    test::TempDir dir;
    std::unique_ptr<sim::PtySimulator> modem;
    QProcess receiver;
    QByteArray printed;
};

// Every line begins with the local time it was written.
bool EveryLineStamped(const QByteArray& log) {
    static const QRegularExpression stamped(
        QStringLiteral("^(\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d [^\\r\\n]+\\n)+$"));
    return stamped.match(QString::fromLatin1(log)).hasMatch();
}

TEST_F(HeadlessReceiverEndToEnd, StoresReportsRotatesItsLogOnSighupAndClosesOnSigterm) {
    start(QString::fromStdString(modem->devicePath()),
          {QStringLiteral("--log-file"), QStringLiteral("receiver.log")});
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
    EXPECT_TRUE(output().contains(" +CMTI: \"SM\",1\n")) << output().toStdString();

    // A log rotation: the file is moved away, SIGHUP makes the receiver begin a new one.
    ASSERT_TRUE(QFile::rename(QString::fromStdString(dir.file("receiver.log")),
                              QString::fromStdString(dir.file("receiver.log.1"))));
    ::kill(pid_t(receiver.processId()), SIGHUP);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return QFile::exists(QString::fromStdString(dir.file("receiver.log"))); }, 5000));
    modem->withModem([](sim::ModemSimulator& m) {
        m.injectReport(sim::TrackerReport::at(RegisteredImei, 121.6, 25.1, May2007 + 60));
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return logFileText("receiver.log").contains("at+cmgd=1"); },
                                StartMs));

    receiver.terminate();  // SIGTERM
    ASSERT_TRUE(receiver.waitForFinished(5000));
    EXPECT_EQ(receiver.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(receiver.exitCode(), 0);
    EXPECT_FALSE(modem->portOpen());
    EXPECT_TRUE(EveryLineStamped(output())) << output().toStdString();
    EXPECT_TRUE(output().endsWith(logFileText("receiver.log")));
    EXPECT_TRUE(output().startsWith(logFileText("receiver.log.1")));
    EXPECT_TRUE(logFileText("receiver.log.1").contains("at+cmgd=2"));
}

TEST_F(HeadlessReceiverEndToEnd, AFailedStartPrintsTheErrorAndExitsWithOne) {
    modem->withModem([](sim::ModemSimulator& m) { m.faults().setSilent(true); });
    start(QString::fromStdString(modem->devicePath() + ":"));
    ASSERT_TRUE(receiver.waitForFinished(StartMs));
    EXPECT_EQ(receiver.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(receiver.exitCode(), 1);
    EXPECT_TRUE(output().endsWith(" COM Port ERROR!!!\n")) << output().toStdString();
    EXPECT_TRUE(EveryLineStamped(output())) << output().toStdString();
    EXPECT_FALSE(modem->portOpen());
}

}  // namespace
}  // namespace kv820
