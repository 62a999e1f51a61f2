// A year of one tracker's reports every 30 seconds (1,051,200 rows): the time of the
// script's "--report trips|summary" (read the range, find trips and stops, write the CSV
// to a sink that drops it), and the peak memory it added, which must not grow with the
// range: the reports are streamed, never held.
#include <benchmark/benchmark.h>

#include <cmath>
#include <fstream>
#include <string>

#include "core/records/text_sink.h"
#include "core/store/user_store.h"
#include "core/trips/trip_report.h"
#include "gpslog_fixture.h"

namespace {

using namespace kv820;

constexpr long StepSeconds = 30;
constexpr long YearRows = 365L * 86400 / StepSeconds;
constexpr std::time_t Start = 1767225600;  // 2026-01-01 00:00:00 UTC

// A commuter's day: home until 07:30, half an hour's drive east at 40 km/h, work until
// 17:00, the drive back, home; a few metres of jitter while parked.
GpslogRow commuterRowAt(long i) {
    const std::time_t moment = Start + i * StepSeconds;
    const long ofDay = static_cast<long>(moment % 86400);
    constexpr long Out = 7 * 3600 + 1800, Back = 17 * 3600, Drive = 1800;
    double share = 0;  // of the way to work
    if (ofDay >= Out && ofDay < Out + Drive) {
        share = double(ofDay - Out) / Drive;
    } else if (ofDay >= Out + Drive && ofDay < Back) {
        share = 1;
    } else if (ofDay >= Back && ofDay < Back + Drive) {
        share = 1 - double(ofDay - Back) / Drive;
    }
    const bool driving = share > 0 && share < 1;
    const double jitter = driving ? 0 : 0.00005 * std::sin(double(i));
    GpslogRow row = bench::GpslogFixture::rowAt(bench::TrackerImeis[0], moment);
    row[GpsPosLat] = fixedDecimal(25.05 + jitter, 6);
    row[GpsPosLon] = fixedDecimal(121.5 + 0.198 * share + jitter, 6);
    row[GpsSpeed] = fixedDecimal(driving ? 40 : 0, 4);
    return row;
}

bench::GpslogFixture& fixture() {
    static bench::GpslogFixture fixture("trips", YearRows, commuterRowAt);
    static bool registered = [] {
        Database db(fixture.path());
        UserStore(db).addOrUpdate({"commuter", "0911", bench::TrackerImeis[0]});
        return true;
    }();
    (void)registered;
    return fixture;
}

class NullSink final : public TextSink {
  public:
    bool write(std::string_view text) override {
        bytes += text.size();
        return true;
    }
    std::size_t bytes = 0;
};

// A /proc/self/status figure in kB.
long statusKb(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key + ":", 0) == 0) {
            return std::stol(line.substr(key.size() + 1));
        }
    }
    return -1;
}

void bmTripReportOfAYear(benchmark::State& state) {
    const auto kind = static_cast<TripReportKind>(state.range(0));
    Database db(fixture().path());
    const UserRangeRequest year{"commuter", "2026/01/01 00:00:00", "2026/12/31 23:59:59"};
    // The peak from here on: 5 resets the high-water mark to what is resident now.
    std::ofstream("/proc/self/clear_refs") << "5";
    const long residentBefore = statusKb("VmRSS");
    NullSink sink;
    for (auto _ : state) {
        if (!writeUserTripReport(db, year, kind, sink).empty()) {
            state.SkipWithError("report refused");
        }
    }
    state.counters["peak_growth_kB"] = double(statusKb("VmHWM") - residentBefore);
    state.counters["rows"] = double(YearRows);
    state.counters["csv_bytes"] = double(sink.bytes) / double(state.iterations());
}
BENCHMARK(bmTripReportOfAYear)
    ->Arg(int(TripReportKind::Trips))
    ->Arg(int(TripReportKind::Summary))
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
