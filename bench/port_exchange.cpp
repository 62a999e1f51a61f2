#include <benchmark/benchmark.h>

// Before any Qt header: the simulator has a member named like Qt's "emit" keyword.
#include "sim/pty_simulator.h"

#include <QCoreApplication>
#include <chrono>
#include <memory>
#include <string>

#include "app/ports/qt_serial_link.h"
#include "core/at/com_port.h"

namespace {

using namespace std::chrono_literals;

// A simulated modem on a pseudo-terminal that answers at once and holds one SMS at index 1.
std::unique_ptr<kv820::sim::PtySimulator> modemWithOneMessage() {
    auto modem = kv820::sim::PtySimulator::modem();
    modem->withModem([](kv820::sim::ModemSimulator& m) {
        m.setTextMode(true);
        m.storeSms("+886912345678", "?35,354612071234567,report");
    });
    return modem;
}

// One command exchange as the program makes it: the read ends at the final result code.
void bmExchangeEndingAtTheResultCode(benchmark::State& state) {
    auto modem = modemWithOneMessage();
    kv820::SystemClock clock;
    kv820::QtSerialLink link;
    kv820::ComPort port(link, clock);
    if (!port.OpenComPort(modem->devicePath() + ":")) {
        state.SkipWithError("the simulator's port did not open");
        return;
    }
    for (auto _ : state) {
        const kv820::ModemReply reply = port.exchange("at+cmgr=1", kv820::reply_timeout::Sim);
        if (!reply.ok()) {
            state.SkipWithError("no complete reply");
            break;
        }
        benchmark::DoNotOptimize(reply);
    }
}

// The same exchange with a plain read that always runs its whole 500 ms: it asks for more
// than the reply holds and does not look at what arrived.
void bmExchangeWaitingTheWholeTimeOut(benchmark::State& state) {
    auto modem = modemWithOneMessage();
    kv820::QtSerialLink link;
    if (!link.open(modem->devicePath())) {
        state.SkipWithError("the simulator's port did not open");
        return;
    }
    for (auto _ : state) {
        link.write("at+cmgr=1\r");
        const auto deadline = std::chrono::steady_clock::now() + 500ms;
        std::string reply;
        for (auto now = std::chrono::steady_clock::now(); now < deadline;
             now = std::chrono::steady_clock::now()) {
            reply += link.readAvailable(
                4096 - reply.size(),
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now));
        }
        if (reply.find("OK") == std::string::npos) {
            state.SkipWithError("no complete reply");
            break;
        }
        benchmark::DoNotOptimize(reply);
    }
}

BENCHMARK(bmExchangeEndingAtTheResultCode)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(bmExchangeWaitingTheWholeTimeOut)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(10);

}  // namespace

// QSerialPort wants an application object.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
