// One SMS session as the application runs it: on its own thread, over the real serial link,
// against the simulated modem on a pseudo-terminal. A report the modem announces is stored
// once and its SMS deleted. The faults of the modem, the line and the database are tested
// in-process on a virtual clock (tests/core/reception/session_faults_test.cpp).
#include <gtest/gtest.h>

#include <QTest>
#include <algorithm>
#include <chrono>
#include <mutex>
#include <thread>

#include "app/ports/qt_serial_link.h"
#include "core/reception/sms_session_worker.h"
#include "sim/pty_simulator.h"
#include "support/minute_reports.h"
#include "support/qt/records_database.h"
#include "support/session_rig.h"
#include "support/temp_dir.h"

namespace kv820 {
namespace {

// Real time, with the modem start's long pauses cut short: the simulator needs no waking.
class ShortPausesClock final : public Clock {
  public:
    std::chrono::milliseconds now() const override { return real_.now(); }
    void sleepFor(std::chrono::milliseconds duration) override {
        real_.sleepFor(std::min(duration, std::chrono::milliseconds(100)));
    }

  private:
    SystemClock real_;
};

TEST(SessionOverSerialLink, AnAnnouncedReportIsStoredOnceAndItsSmsDeleted) {
    TempDir dir;
    const std::string path = test::CreateRecordsDatabase(dir, {test::Truck});
    auto modem = sim::PtySimulator::modem();
    UserRegistry users;
    users.replace({test::Truck});
    test::RecordingListener listener;
    QtSerialLink link;
    ShortPausesClock clock;
    SmsSessionWorker worker(link, clock, users, listener, {modem->devicePath() + ":", path});
    std::thread session([&] { worker.run(); });
    const auto waitFor = [&](auto done) {
        return QTest::qWaitFor(
            [&] {
                std::lock_guard lock(listener.mutex);
                return done();
            },
            20000);
    };

    const bool started = waitFor([&] { return !listener.started.empty(); });
    if (started) {
        modem->withModem([](sim::ModemSimulator& m) {
            m.injectReport(test::ReportOfMinute(test::Truck.imei, 0));
        });
    }
    const bool deleted =
        started && waitFor([&] {
            return !listener.stored.empty() &&
                   modem->withModem([](sim::ModemSimulator& m) { return m.storedCount(); }) == 0;
        });
    worker.requestStop();
    session.join();

    ASSERT_TRUE(deleted) << listener.log;
    EXPECT_EQ(listener.started, std::vector<bool>{true});
    EXPECT_EQ(test::StoredMoments(path), test::MomentsOfMinutes(1));
}

}  // namespace
}  // namespace kv820
