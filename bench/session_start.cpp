// "Start SMS" against a simulated modem that answers at once: from the start of the
// session's thread (port open, wakes, "at", "ati", "at+cmgf=1", "at+cnmi=1,1") to the
// moment the session reports its modem ready. Real time, the pauses as they are: a
// modem that answers at once should not cost the whole wake pauses.
#include <benchmark/benchmark.h>

#include <chrono>

#include "session_rig.h"
#include "sim/pty_simulator.h"

namespace {

using namespace kv820;

void bmSessionStart(benchmark::State& state) {
    bench::BenchDatabase database("session_start");
    auto modem = sim::PtySimulator::modem();
    UserRegistry users;
    users.replace({{"Truck", "0912345678", bench::SessionImei}});
    SystemClock clock;
    for (auto _ : state) {
        bench::SessionProgress progress;
        const auto start = std::chrono::steady_clock::now();
        bench::SessionOnThread session(modem->devicePath(), database.path(), users, progress,
                                       clock);
        if (!progress.waitForStart()) {
            state.SkipWithError("the simulated modem did not start");
            break;
        }
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}
BENCHMARK(bmSessionStart)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
