// The port time of one position report in a running SMS session: from the moment the
// session reads the "+CMTI" line to the moment the row is stored and the SMS deleted
// (the reply to "at+cmgd=" read), over the real serial link against the simulated modem
// answering at once. Goal: well under 100 ms.
#include <benchmark/benchmark.h>

#include <QThread>

#include <chrono>
#include <condition_variable>
#include <ctime>
#include <filesystem>
#include <mutex>

#include "app/ports/qt_serial_link.h"
#include "core/common/clock.h"
#include "core/modem/sms_session_worker.h"
#include "core/store/schema.h"
#include "core/store/user_registry.h"
#include "sim/pty_simulator.h"

namespace {

using namespace kv820;
using Moment = std::chrono::steady_clock::time_point;

constexpr const char* Imei = "354612071234567";
constexpr std::time_t May2007 = 1178965230;

// Notes when the announcement line was read and when its report was through.
class TimingListener final : public SmsSessionListener {
  public:
    void modemLog(std::string_view) override {}
    void modemLine(std::string_view line) override {
        if (line.find("+CMTI") != std::string_view::npos) {
            std::lock_guard lock(mutex_);
            announced_ = std::chrono::steady_clock::now();
        }
    }
    void sessionStarted(bool ready) override {
        std::lock_guard lock(mutex_);
        started_ = ready;
        startDone_ = true;
        changed_.notify_all();
    }
    void reportStored(const StoredReportEvent&) override {
        std::lock_guard lock(mutex_);
        stored_ = std::chrono::steady_clock::now();
        ++storedCount_;
        changed_.notify_all();
    }
    void reportStoreFailed(const PositionReport&, std::string_view) override {}
    void sessionEnded() override {}

    bool waitForStart() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return startDone_; });
        return started_;
    }
    // The time from the announcement to the stored report number `count`.
    std::chrono::duration<double> waitForReport(int count) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return storedCount_ >= count; });
        return stored_ - announced_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool startDone_ = false;
    bool started_ = false;
    int storedCount_ = 0;
    Moment announced_;
    Moment stored_;
};

// A clock whose pauses are cut short, so that the modem start does not take ten seconds;
// the pause between line attempts is kept, as it belongs to the measured reception.
class ShortStartClock final : public Clock {
  public:
    std::chrono::milliseconds now() const override { return system_.now(); }
    void sleepFor(std::chrono::milliseconds duration) override {
        system_.sleepFor(duration > SmsSessionWorker::LinePause ? duration / 100 : duration);
    }

  private:
    SystemClock system_;
};

void BM_ReportPortTime(benchmark::State& state) {
    const std::filesystem::path database =
        std::filesystem::temp_directory_path() / "kv820_bench_report_port_time.mdb";
    std::filesystem::remove(database);
    CreateDatabaseFile(database.string());

    auto modem = sim::PtySimulator::modem();
    UserRegistry users;
    users.replace({{"Truck", "0912345678", Imei}});
    TimingListener listener;
    ShortStartClock clock;
    std::unique_ptr<SerialLink> link = MakeSerialLink();
    SmsSessionWorker worker(*link, clock, users, listener,
                            {modem->devicePath() + ":", database.string()});
    // A QThread, as in the program: the serial port object wants one.
    std::unique_ptr<QThread> session(QThread::create([&] { worker.run(); }));
    session->start();
    if (!listener.waitForStart()) {
        state.SkipWithError("the simulated modem did not start");
        session->wait();
        return;
    }

    int reports = 0;
    for (auto _ : state) {
        const std::time_t moment = May2007 + reports;
        modem->withModem([&](sim::ModemSimulator& m) {
            m.injectReport(sim::TrackerReport::at(Imei, 121.502057, 25.052057, moment));
        });
        state.SetIterationTime(listener.waitForReport(++reports).count());
    }
    worker.requestStop();
    session->wait();
    const std::size_t left =
        modem->withModem([](sim::ModemSimulator& m) { return m.storage().size(); });
    if (left != 0) {
        state.SkipWithError("reports were left in the modem");
    }
    for (const char* suffix : {"", "-wal", "-shm"}) {
        std::filesystem::remove(database.string() + suffix);
    }
}
BENCHMARK(BM_ReportPortTime)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);

}  // namespace
