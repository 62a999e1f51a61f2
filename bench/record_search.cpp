// A one-year search for one tracker in a gpslog of five million rows: time to the first
// page (newest first, as the report list fetches it) through the index, and the same query
// as a full scan.
#include <benchmark/benchmark.h>

#include "core/records/search_criteria.h"
#include "core/store/gpslog_store.h"
#include "gpslog_fixture.h"

namespace {

using namespace kv820;

constexpr long StoredRows = 5'000'000;

bench::GpslogFixture& fixture() {
    // One report a minute: about 9.5 years of five trackers.
    static bench::GpslogFixture fixture("search", StoredRows, 60);
    return fixture;
}

void bmSearchFirstScreenIndexed(benchmark::State& state) {
    Database db(fixture().path());
    GpslogStore store(db);
    const ReceiveRange range = bench::oneYearOfOneTracker();
    for (auto _ : state) {
        const auto rows = store.newestFirst(range, std::nullopt, GpslogStore::HistoryPageRows);
        if (rows.size() != GpslogStore::HistoryPageRows) {
            state.SkipWithError("short first screen");
        }
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(bmSearchFirstScreenIndexed)->Unit(benchmark::kMillisecond);

void bmSearchFirstScreenFullScan(benchmark::State& state) {
    Database db(fixture().path());
    const ReceiveRange range = bench::oneYearOfOneTracker();
    for (auto _ : state) {
        Statement query(db,
                        "SELECT rowid, * FROM gpslog NOT INDEXED WHERE imei=?1 "
                        "AND receive_date||receive_time>=?2 AND receive_date||receive_time<=?3 "
                        "ORDER BY receive_date||receive_time DESC, rowid DESC LIMIT ?4");
        query.bind(1, range.imei).bind(2, range.from).bind(3, range.to);
        query.bind(4, static_cast<std::int64_t>(GpslogStore::HistoryPageRows));
        int rows = 0;
        while (query.step()) {
            ++rows;
        }
        if (rows != static_cast<int>(GpslogStore::HistoryPageRows)) {
            state.SkipWithError("short first screen");
        }
    }
}
BENCHMARK(bmSearchFirstScreenFullScan)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
