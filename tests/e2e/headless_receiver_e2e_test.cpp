#include <gtest/gtest.h>

#include <signal.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <algorithm>
#include <memory>
#include <set>

#include "core/alarms/alarm_store.h"
#include "core/alarms/forward_store.h"
#include "core/report/report_kinds.h"
#include "sim/pty_simulator.h"
#include "support/minute_reports.h"
#include "support/qt/records_database.h"
#include "support/temp_dir.h"

namespace kv820 {
namespace {

using sim::ModemSimulator;
using test::momentsOfMinutes;
using test::storedMoments;

constexpr int StartMs = 40000;  // the modem start pauses 2 x 5 s

// kv820-callcenter --receive, run as the operator would run it, in a folder of its own.
class HeadlessReceiverEndToEnd : public ::testing::Test {
  protected:
    HeadlessReceiverEndToEnd() : modem(sim::PtySimulator::modem(128)) {
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
    void startReceiving(const QStringList& more = {}) {
        ASSERT_NO_FATAL_FAILURE(start(QString::fromStdString(modem->devicePath()), more));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return modem->withModem([](ModemSimulator& m) { return m.sessionOpen(); }); },
            StartMs));
    }
    std::size_t messagesInModem() {
        return modem->withModem([](ModemSimulator& m) { return m.storage().size(); });
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
    std::string path = test::createRecordsDatabase(dir, {test::Truck});
    std::unique_ptr<sim::PtySimulator> modem;
    QProcess receiver;
    QByteArray printed;
};

// Every line begins with the local time it was written.
bool everyLineStamped(const QByteArray& log) {
    static const QRegularExpression Stamped(
        QStringLiteral("^(\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d [^\\r\\n]+\\n)+$"));
    return Stamped.match(QString::fromLatin1(log)).hasMatch();
}

TEST_F(HeadlessReceiverEndToEnd, StoresReportsRotatesItsLogOnSighupAndClosesOnSigterm) {
    ASSERT_NO_FATAL_FAILURE(
        startReceiving({QStringLiteral("--log-file"), QStringLiteral("receiver.log")}));
    modem->withModem(
        [](ModemSimulator& m) { m.injectBurst(test::reportsOfMinutes(test::Truck.imei, 2)); });
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return storedMoments(path).size() == 2 && messagesInModem() == 0; }, StartMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return output().contains("at+cmgd=2"); }, 5000));
    EXPECT_TRUE(output().contains(" +CMTI: \"SM\",1\n")) << output().toStdString();

    // A log rotation: the file is moved away, SIGHUP makes the receiver begin a new one.
    ASSERT_TRUE(QFile::rename(QString::fromStdString(dir.file("receiver.log")),
                              QString::fromStdString(dir.file("receiver.log.1"))));
    ::kill(pid_t(receiver.processId()), SIGHUP);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return QFile::exists(QString::fromStdString(dir.file("receiver.log"))); }, 5000));
    modem->withModem(
        [](ModemSimulator& m) { m.injectReport(test::reportOfMinute(test::Truck.imei, 2)); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return logFileText("receiver.log").contains("at+cmgd=1"); },
                                StartMs));

    receiver.terminate();  // SIGTERM
    ASSERT_TRUE(receiver.waitForFinished(5000));
    EXPECT_EQ(receiver.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(receiver.exitCode(), 0);
    EXPECT_FALSE(modem->portOpen());
    EXPECT_TRUE(everyLineStamped(output())) << output().toStdString();
    EXPECT_TRUE(output().endsWith(logFileText("receiver.log")));
    EXPECT_TRUE(output().startsWith(logFileText("receiver.log.1")));
    EXPECT_TRUE(logFileText("receiver.log.1").contains("at+cmgd=2"));
}

TEST_F(HeadlessReceiverEndToEnd, AFailedStartPrintsTheErrorAndExitsWithOne) {
    modem->withModem([](ModemSimulator& m) { m.faults().setSilent(true); });
    start(QString::fromStdString(modem->devicePath() + ":"));
    ASSERT_TRUE(receiver.waitForFinished(StartMs));
    EXPECT_EQ(receiver.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(receiver.exitCode(), 1);
    EXPECT_TRUE(output().endsWith(" COM Port ERROR!!!\n")) << output().toStdString();
    EXPECT_TRUE(everyLineStamped(output())) << output().toStdString();
    EXPECT_FALSE(modem->portOpen());
}

// The burst drives into a fence: its one "enter" is stored with its report, however the
// receiver died, and the restarted receiver knows the tracker is inside already.
TEST_F(HeadlessReceiverEndToEnd, EveryReportIsStoredOnceAfterASigkillInABurst) {
    constexpr int Burst = 100;
    {
        Database db(path);
        AlarmStore::ensureTables(db);
        AlarmStore(db).saveGeofence(test::depotOfMinuteReports());
    }
    ASSERT_NO_FATAL_FAILURE(startReceiving());
    modem->withModem(
        [&](ModemSimulator& m) { m.injectBurst(test::reportsOfMinutes(test::Truck.imei, Burst)); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return storedMoments(path).size() >= 10; }, StartMs));

    receiver.kill();  // SIGKILL: no handler runs, the port and the database are left as they are
    ASSERT_TRUE(receiver.waitForFinished(5000));
    ASSERT_GT(messagesInModem(), 0u) << "the kill came after the burst was handled";

    ASSERT_NO_FATAL_FAILURE(startReceiving());
    ASSERT_TRUE(QTest::qWaitFor([&] { return messagesInModem() == 0; }, StartMs));
    std::vector<std::string> stored = storedMoments(path);
    std::ranges::sort(stored);
    EXPECT_EQ(stored, momentsOfMinutes(Burst));
    Database db(path);
    const std::vector<StoredEvent> events = AlarmStore(db).newestEvents({}, 10);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].event.kind, EventKind::GeofenceEnter);
    Statement check(db, "PRAGMA integrity_check");
    ASSERT_TRUE(check.step());
    EXPECT_EQ(check.text(0), "ok");
}

// Fences imported from a GeoJSON file on the command line, then a drive into the depot and
// out again: the receiver stores exactly its two events, each with its report, and logs them.
TEST_F(HeadlessReceiverEndToEnd, ImportedFencesRaiseExactlyTheEventsOfATrack) {
    const std::string fences = dir.file("fences.geojson");
    {
        QFile file(QString::fromStdString(fences));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(R"({"type":"FeatureCollection","features":[{"type":"Feature",)"
                   R"("properties":{"name":"Depot","radius":500},)"
                   R"("geometry":{"type":"Point","coordinates":[121.502057,25.052057]}}]})");
    }
    receiver.start(QStringLiteral(KV820_CALLCENTER_PROGRAM),
                   {QStringLiteral("--import-geofences"), QString::fromStdString(fences)});
    ASSERT_TRUE(receiver.waitForFinished(10000));
    EXPECT_EQ(receiver.exitCode(), 0) << receiver.readAllStandardError().toStdString();
    EXPECT_TRUE(receiver.readAllStandardOutput().contains("1 geofences added"));

    ASSERT_NO_FATAL_FAILURE(startReceiving());
    std::vector<sim::TrackerReport> track;
    for (const double longitude : {121.6, 121.502057, 121.502057, 121.6}) {
        track.push_back(sim::TrackerReport::at(test::Truck.imei, longitude, 25.052057,
                                               test::May2012 + 60 * track.size()));
    }
    modem->withModem([&](ModemSimulator& m) { m.injectBurst(track); });
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return storedMoments(path).size() == track.size() && messagesInModem() == 0; },
        StartMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return output().contains("Event geofence exit"); }, 5000))
        << output().toStdString();

    Database db(path);
    std::vector<std::string> raised;
    AlarmStore(db).forEachEventOldestFirst({}, [&](const StoredEvent& stored) {
        raised.push_back(std::string(eventKindText(stored.event.kind)) + " " +
                         stored.event.details);
        return true;
    });
    EXPECT_EQ(raised, (std::vector<std::string>{"geofence enter Depot", "geofence exit Depot"}));
}

// A webhook receiver on the loopback: it takes one POST per connection, keeps what came
// and answers 200 once the body announced by Content-Length is whole.
class WebhookReceiver {
  public:
    WebhookReceiver() {
        server_.listen(QHostAddress::LocalHost);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            QTcpSocket* socket = server_.nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::readyRead, [this, socket] { take(socket); });
        });
    }
    QString url() const {
        return QStringLiteral("http://127.0.0.1:%1/hook").arg(server_.serverPort());
    }
    std::vector<QByteArray> requests;

  private:
    void take(QTcpSocket* socket) {
        QByteArray& request = pending_[socket];
        request += socket->readAll();
        const qsizetype headEnd = request.indexOf("\r\n\r\n");
        static const QRegularExpression Length(QStringLiteral("Content-Length: *(\\d+)"),
                                               QRegularExpression::CaseInsensitiveOption);
        const auto length = Length.match(QString::fromLatin1(request));
        if (headEnd < 0 || !length.hasMatch() ||
            request.size() < headEnd + 4 + length.captured(1).toLongLong()) {
            return;
        }
        requests.push_back(request);
        pending_.erase(socket);
        socket->write("HTTP/1.1 200 OK\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        socket->disconnectFromHost();
    }

    QTcpServer server_;
    std::map<QTcpSocket*, QByteArray> pending_;
};

// An SOS with forwarding to a duty phone and a webhook: the receiver sends the short text
// through its modem and POSTs the JSON body to the local server, and records both as sent.
TEST_F(HeadlessReceiverEndToEnd, AnSosIsForwardedByItsModemAndToTheWebhook) {
    WebhookReceiver webhook;
    {
        Database db(path);
        ForwardStore(db).saveSettings(
            {{"+491701234567"}, webhook.url().toStdString(), {EventKind::Sos}});
    }
    ASSERT_NO_FATAL_FAILURE(startReceiving());
    sim::TrackerReport sos =
        sim::TrackerReport::at(test::Truck.imei, 121.502057, 25.052057, test::May2012);
    sos.kind = std::to_string(SosReportCode);
    modem->withModem([&](ModemSimulator& m) { m.injectBurst({sos}); });
    const auto sent = [&] {
        return modem->withModem([](ModemSimulator& m) { return m.sentMessages(); });
    };
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !sent().empty() && !webhook.requests.empty(); }, StartMs))
        << output().toStdString();

    const std::string where = "https://maps.google.com/maps?q=25.052057+121.502057&h=en&t=h";
    EXPECT_EQ(sent()[0].destination, "+491701234567");
    EXPECT_EQ(sent()[0].text, "truck: SOS, SOS report, 2012/05/12 00:00:00 " + where);
    const QByteArray& request = webhook.requests[0];
    EXPECT_TRUE(request.startsWith("POST /hook HTTP/1.1\r\n")) << request.toStdString();
    EXPECT_TRUE(request.contains("Content-Type: application/json"));
    EXPECT_TRUE(request.endsWith(
        R"({"tracker":"truck","imei":"354612071234567","kind":"SOS","details":"SOS report",)"
        R"("time":"2012/05/12 00:00:00","lat":25.052057,"lon":121.502057})"))
        << request.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return output().count("Forwarded event") == 2; }, 5000));
    Database db(path);
    for (const LoggedForward& logged : ForwardStore(db).newest(10)) {
        EXPECT_EQ(logged.forward.state, ForwardState::Sent) << logged.forward.destination;
    }
}

}  // namespace
}  // namespace kv820
