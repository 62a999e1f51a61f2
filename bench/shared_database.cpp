// A shared PostgreSQL database (the benchmark's own server, started on a Unix socket, run
// without fsync as the tests' server is): the reports two receivers store per second, the
// delay from a receiver's commit to a desk holding the report, and the report list's first
// screen of a one-year search in ten million rows against the same search in an SQLite file.
#include <benchmark/benchmark.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "core/reception/report_feed.h"
#include "core/records/search_criteria.h"
#include "core/store/database.h"
#include "core/store/gpslog_store.h"
#include "core/store/schema.h"
#include "core/store/store_channels.h"
#include "core/store/transaction.h"
#include "core/store/user_registry.h"
#include "gpslog_fixture.h"
#include "support/postgres_server.h"

namespace {

using namespace kv820;
using Clock = std::chrono::steady_clock;

std::string newServerDatabase() {
    const std::string url = test::PostgresServer::shared().createDatabase();
    createDatabase(url);
    return url;
}

// As a receiver stores a decoded report: looked for, appended, the desks told, committed.
void storeAsReceiver(Database& db, const GpslogRow& row) {
    GpslogStore store(db);
    if (store.contains(row)) {
        return;
    }
    Transaction transaction(db);
    store.append(row);
    db.notify(StoredChannel);
    transaction.commit();
}

// Two receivers at once, each with its own connection, storing 1000 reports each, of which
// the last 250 are copies of the other's first (the insert that loses stores nothing).
void bmTwoReceiversStore(benchmark::State& state) {
    constexpr long PerReceiver = 1000;
    std::int64_t stored = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string url = newServerDatabase();
        state.ResumeTiming();
        const auto receive = [&url](long first) {
            Database db(url);
            for (long i = first; i < first + PerReceiver; ++i) {
                storeAsReceiver(db, bench::GpslogFixture::rowAt(bench::TrackerImeis[i % 5],
                                                                1104537600 + i * 60));
            }
        };
        std::thread other(receive, PerReceiver - 250);
        receive(0);
        other.join();
        stored += 2 * PerReceiver - 250;
    }
    state.counters["reports_per_s"] =
        benchmark::Counter(static_cast<double>(stored), benchmark::Counter::kIsRate);
}
BENCHMARK(bmTwoReceiversStore)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// A receiver commits a report every 20 ms; the desk waits on its connection's socket, as
// the window's socket notifier does, and reads the news. The clock runs from the commit's
// return to the report being in the desk's hands.
void bmStoreToDeskDelay(benchmark::State& state) {
    const std::string url = newServerDatabase();
    Database receiver(url);
    Database deskConnection(url);
    UserRegistry users;
    ReportFeed desk(deskConnection, users);
    std::vector<double> delaysMs;
    long i = 0;
    for (auto _ : state) {
        storeAsReceiver(receiver,
                        bench::GpslogFixture::rowAt(bench::TrackerImeis[0], 1104537600 + i++ * 60));
        const auto committed = Clock::now();
        std::size_t got = 0;
        while (got == 0) {
            pollfd socket{deskConnection.notificationSocket(), POLLIN, 0};
            ::poll(&socket, 1, 1000);
            deskConnection.takeNotifications();
            got = desk.read(std::chrono::milliseconds(0), localNow()).reports.size();
        }
        delaysMs.push_back(
            std::chrono::duration<double, std::milli>(Clock::now() - committed).count());
        state.PauseTiming();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        state.ResumeTiming();
    }
    std::ranges::sort(delaysMs);
    state.counters["median_ms"] = delaysMs[delaysMs.size() / 2];
    state.counters["p99_ms"] = delaysMs[delaysMs.size() * 99 / 100];
}
BENCHMARK(bmStoreToDeskDelay)->Unit(benchmark::kMillisecond)->Iterations(500);

constexpr long SearchRows = 10'000'000;

// The rows of the SQLite fixture (five trackers taking turns, one report a minute from
// 2005), made by the server itself, then indexed as --create-database indexes them.
const std::string& serverGpslog() {
    static const std::string Url = [] {
        const std::string url = newServerDatabase();
        Database db(url);
        db.execute(
            "DROP INDEX gpslog_report; DROP INDEX gpslog_by_imei_and_receive_moment; "
            "DROP INDEX gpslog_incomplete");
        db.execute(
            "INSERT INTO gpslog (imei, receive_date, receive_time, gps_pos_lat, gps_pos_lon, "
            "gps_date, gps_time, gps_status, gps_altitude, gps_speed, gps_direction, gps_number, "
            "message_status) SELECT '35678901234567' || (i % 5 + 1), to_char(t, 'YYYY/MM/DD'), "
            "to_char(t, 'HH24:MI:SS'), '25.052057', '121.502057', to_char(t, 'YYYY/MM/DD'), "
            "to_char(t, 'HH24:MI:SS'), '3D', '120.5', '18.5200', '270', '8', 'Period report' "
            "FROM (SELECT i, timestamp '2005-01-01' + i * interval '1 minute' AS t "
            "FROM generate_series(0, " +
            std::to_string(SearchRows - 1) + ") AS i) AS moments");
        db.execute(
            "CREATE INDEX gpslog_by_imei_and_receive_moment ON gpslog (imei, "
            "(receive_date||receive_time)); ANALYZE gpslog");
        return url;
    }();
    return Url;
}

bench::GpslogFixture& fileGpslog() {
    static bench::GpslogFixture fixture("shared-search", SearchRows, 60);
    return fixture;
}

void searchFirstScreen(benchmark::State& state, const std::string& location) {
    Database db(location);
    GpslogStore store(db);
    for (auto _ : state) {
        const auto rows = store.newestFirst(bench::oneYearOfOneTracker(), std::nullopt,
                                            GpslogStore::HistoryPageRows);
        if (rows.size() != GpslogStore::HistoryPageRows) {
            state.SkipWithError("short first screen");
        }
        benchmark::DoNotOptimize(rows);
    }
}

void bmSearchTenMillionPostgres(benchmark::State& state) {
    searchFirstScreen(state, serverGpslog());
}
BENCHMARK(bmSearchTenMillionPostgres)->Unit(benchmark::kMillisecond);

void bmSearchTenMillionSqlite(benchmark::State& state) {
    searchFirstScreen(state, fileGpslog().path());
}
BENCHMARK(bmSearchTenMillionSqlite)->Unit(benchmark::kMillisecond);

}  // namespace
