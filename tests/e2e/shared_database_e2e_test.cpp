// Two receivers, each on a simulated modem of its own, and a desk, all on one database of
// the tests' PostgreSQL server, as separate programs would share it.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTest>
#include <algorithm>
#include <memory>

#include "app/reception/shared_desk.h"
#include "core/commands/command_queue.h"
#include "core/reception/store_copy.h"
#include "core/store/database.h"
#include "core/store/schema.h"
#include "core/store/user_registry.h"
#include "sim/pty_simulator.h"
#include "support/minute_reports.h"
#include "support/postgres_server.h"
#include "support/qt/records_database.h"

namespace kv820 {
namespace {

using sim::ModemSimulator;

constexpr int StartMs = 40000;  // the modem start pauses 2 x 5 s
constexpr int Burst = 100;

struct Receiver {
    explicit Receiver(const std::string& location) : modem(sim::PtySimulator::modem(256)) {
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral(KV820_CALLCENTER_PROGRAM),
                      {QStringLiteral("--receive"), QString::fromStdString(modem->devicePath()),
                       QStringLiteral("--database"), QString::fromStdString(location)});
    }
    ~Receiver() {
        process.kill();
        process.waitForFinished();
    }
    bool listening() {
        return modem->withModem([](ModemSimulator& m) { return m.sessionOpen(); });
    }
    std::size_t waiting() {
        return modem->withModem([](ModemSimulator& m) { return m.storage().size(); });
    }
    std::vector<sim::SentSms> sent() {
        return modem->withModem([](ModemSimulator& m) { return m.sentMessages(); });
    }

    std::unique_ptr<sim::PtySimulator> modem;
    QProcess process;
};

// The modems take 100 reports each, of which 50 are copies of the other's: the database
// holds each of the 150 once, and the desk is told of each once, though every connection
// is lost on the way. A command the desk queued goes out through one of the modems.
TEST(SharedDatabaseEndToEnd, TwoReceiversStoreEachReportOnceAndADeskSeesAndCommandsThem) {
    const std::string location = test::PostgresServer::shared().createDatabase();
    createDatabase(location);
    {
        Database setup(location);
        ensureEveryTable(setup);
        setup.execute("INSERT INTO users (name, phone, imei) VALUES ('truck', '" +
                      test::Truck.phone + "', '" + test::Truck.imei + "')");
    }
    UserRegistry users;
    users.replace({test::Truck});
    SharedDesk desk(location, users);
    std::vector<std::string> seen;
    QObject::connect(&desk, &SharedDesk::reportReceived, [&](const StoredReportEvent& event) {
        seen.push_back(event.report.gpsDate + " " + event.report.gpsTime);
    });

    Receiver first(location);
    Receiver second(location);
    ASSERT_TRUE(QTest::qWaitFor([&] { return first.listening() && second.listening(); }, StartMs));
    std::vector<sim::TrackerReport> reports = test::reportsOfMinutes(test::Truck.imei, 150);
    first.modem->withModem([&](ModemSimulator& m) {
        m.injectBurst({reports.begin(), reports.begin() + Burst});
    });
    second.modem->withModem([&](ModemSimulator& m) {
        m.injectBurst({reports.begin() + 50, reports.end()});
    });
    // The server ends every connection in the middle of the bursts (a restart): the
    // receivers keep what they could not store in their modems, and they and the desk
    // connect anew and catch up.
    ASSERT_TRUE(QTest::qWaitFor([&] { return seen.size() >= 40; }, 4 * StartMs));
    test::PostgresServer::shared().dropConnections(location);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return seen.size() >= 150 && first.waiting() == 0 && second.waiting() == 0; },
        4 * StartMs))
        << seen.size() << " seen\n"
        << first.process.readAll().toStdString();

    std::vector<std::string> stored = test::storedMoments(location);
    std::ranges::sort(stored);
    EXPECT_EQ(stored, test::momentsOfMinutes(150));
    std::ranges::sort(seen);
    EXPECT_EQ(seen, stored);

    Database deskConnection(location);
    const std::string command = "?0," + test::Truck.imei + ",0!";
    const std::int64_t id = CommandQueue(deskConnection).enqueue(test::Truck.phone, command, "");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const auto result = CommandQueue(deskConnection).result(id);
            return result && result->state == QueuedCommandResult::State::Sent;
        },
        StartMs));
    std::vector<sim::SentSms> sent = first.sent();
    const std::vector<sim::SentSms> more = second.sent();
    sent.insert(sent.end(), more.begin(), more.end());
    EXPECT_EQ(sent, (std::vector<sim::SentSms>{{test::Truck.phone, command}}));
}

}  // namespace
}  // namespace kv820
