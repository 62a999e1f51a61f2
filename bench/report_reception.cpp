// Receiving one report with a large gpslog: decode the read-message reply, store the row
// (with its duplicate check) and fetch the tracker's first screen of history.
#include <benchmark/benchmark.h>

#include "core/report/position_report.h"
#include "core/report/report_pieces.h"
#include "core/store/gpslog_store.h"
#include "gpslog_fixture.h"

namespace {

using namespace kv820;

constexpr long StoredRows = 1'000'000;

bench::GpslogFixture& fixture() {
    // One report every 5 minutes: about 9.5 years of five trackers.
    static bench::GpslogFixture fixture("reception", StoredRows, 300);
    return fixture;
}

std::string readReply(long n) {
    // A fresh receive moment per report, after everything stored (2015 on).
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "15/%02ld/%02ld,%02ld:%02ld:%02ld+32", n / 86400 % 12 + 1,
                  n / 3600 % 28 + 1, n / 60 % 24, n % 60, n % 59);
    return std::string("at+cmgr=3\r\r\n+CMGR: \"REC UNREAD\",\"+886912345678\",,\"") + stamp +
           "\"\r\n?356789012345671,1,3,070512,235959,E12130.1234,N2503.1234,120,10,270,8,0!"
           "\r\n\r\nOK\r\n";
}

void bmDecodeStoreAndShowHistory(benchmark::State& state) {
    Database db(fixture().path());
    GpslogStore store(db);
    UserRegistry users;
    users.replace({{"Truck", "0912345678", bench::TrackerImeis[0]}});
    const ReceiveRange range{bench::TrackerImeis[0], "2014/01/0100:00:00", "2016/01/0100:00:00"};
    long n = 0;
    for (auto _ : state) {
        const PositionReport report =
            decodePositionReport(splitReportPieces(readReply(n++)), users.snapshot());
        const GpslogRow row = toGpslogRow(report);
        if (!store.contains(row)) {
            store.append(row);
        }
        benchmark::DoNotOptimize(
            store.newestFirst(range, std::nullopt, GpslogStore::HistoryPageRows));
    }
}
BENCHMARK(bmDecodeStoreAndShowHistory)->Unit(benchmark::kMillisecond);

void bmDecodeOnly(benchmark::State& state) {
    UserRegistry users;
    users.replace({{"Truck", "0912345678", bench::TrackerImeis[0]}});
    const std::string reply = readReply(1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            toGpslogRow(decodePositionReport(splitReportPieces(reply), users.snapshot())));
    }
}
BENCHMARK(bmDecodeOnly)->Unit(benchmark::kMicrosecond);

}  // namespace
