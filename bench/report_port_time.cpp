// The port time of one position report in a running SMS session: from the moment the
// simulated modem wrote its "+CMTI" line to the moment the session's "at+cmgd=" for that
// message reached the modem (the row is stored by then), over the real serial link against
// a modem answering at once. Counts the time the line and the program take, not merely the
// program's own share after it read the line, and the quiet time between reports is not
// counted. The median is reported as median_ms.
#include <benchmark/benchmark.h>

#include <charconv>
#include <chrono>
#include <condition_variable>
#include <ctime>
#include <mutex>
#include <optional>
#include <string_view>
#include <thread>

#include "session_rig.h"
#include "sim/pty_simulator.h"

namespace {

using namespace kv820;
using Moment = sim::PtySimulator::Moment;

constexpr std::time_t May2007 = 1178965230;

// The number after the last comma of "+CMTI: "SM",3" or "at+cmgd=3" (or "at+cmgd=3,0").
std::optional<int> messageIndex(std::string_view line, std::string_view after) {
    const auto start = line.find(after);
    if (start == std::string_view::npos) {
        return std::nullopt;
    }
    const char* first = line.data() + start + after.size();
    int index = 0;
    const auto [end, error] = std::from_chars(first, line.data() + line.size(), index);
    return error == std::errc() && end != first ? std::optional<int>(index) : std::nullopt;
}

// Notes, per message index, when the modem announced it and when its delete arrived.
class AnnounceToDelete {
  public:
    sim::PtySimulator::TrafficWatcher watcher() {
        return {[this](std::string_view line, Moment at) {
                    if (const auto index = messageIndex(line, "at+cmgd=")) {
                        note(*index, at, &Times::deleted);
                    }
                },
                [this](std::string_view line, Moment at) {
                    if (const auto index = messageIndex(line, "\",")) {
                        note(*index, at, &Times::announced);
                    }
                }};
    }
    void expect(int index) {
        std::lock_guard lock(mutex_);
        times_ = Times{index, {}, {}};
    }
    // The time from the announcement of the expected message to its delete.
    std::chrono::duration<double> wait() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return times_.announced && times_.deleted; });
        return *times_.deleted - *times_.announced;
    }

  private:
    struct Times {
        int index = 0;
        std::optional<Moment> announced;
        std::optional<Moment> deleted;
    };
    void note(int index, Moment at, std::optional<Moment> Times::*which) {
        std::lock_guard lock(mutex_);
        if (index == times_.index && !(times_.*which)) {
            times_.*which = at;
            changed_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    Times times_;
};

// How long the modem stays quiet before report `n`: 150 ms to 650 ms, spread evenly
// over the phases of the session's read loop.
std::chrono::milliseconds idleBefore(int n) {
    return std::chrono::milliseconds(150 + (n * 37) % 500);
}

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

void bmReportPortTime(benchmark::State& state) {
    bench::BenchDatabase database("report_port_time");
    auto modem = sim::PtySimulator::modem();
    AnnounceToDelete timing;
    modem->setTrafficWatcher(timing.watcher());
    UserRegistry users;
    users.replace({{"Truck", "0912345678", bench::SessionImei}});
    bench::SessionProgress progress;
    ShortStartClock clock;
    std::vector<std::chrono::duration<double>> times;
    {
        bench::SessionOnThread session(modem->devicePath(), database.path(), users, progress,
                                       clock);
        if (!progress.waitForStart()) {
            state.SkipWithError("the simulated modem did not start");
            return;
        }
        int reports = 0;
        for (auto _ : state) {
            // Reports come at any moment of the session's read loop, never together with
            // the previous reply (that would measure a burst): the modem stays quiet a while.
            std::this_thread::sleep_for(idleBefore(reports));
            const std::time_t moment = May2007 + reports++;
            modem->withModem([&](sim::ModemSimulator& m) {
                // Under the simulator's lock: the announcement leaves after expect().
                const auto index = m.injectReport(
                    sim::TrackerReport::at(bench::SessionImei, 121.502057, 25.052057, moment));
                timing.expect(index.value_or(0));
            });
            times.push_back(timing.wait());
            state.SetIterationTime(times.back().count());
        }
    }
    state.counters["median_ms"] = bench::medianMs(times);
    const std::size_t left =
        modem->withModem([](sim::ModemSimulator& m) { return m.storage().size(); });
    if (left != 0 || progress.storedCount() != static_cast<int>(times.size())) {
        state.SkipWithError("a report was left in the modem or not stored");
    }
}
BENCHMARK(bmReportPortTime)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);

}  // namespace
