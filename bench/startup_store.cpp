// Start-up store work on a large report table: open both connections, load the users and
// purge incomplete rows. With no incomplete rows the purge reads only the (empty) partial
// index, so the cost must not grow with the table.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <string>

#include "core/report/report_kinds.h"
#include "core/store/database.h"
#include "core/store/gpslog_store.h"
#include "core/store/schema.h"
#include "core/store/statement.h"
#include "core/store/transaction.h"
#include "core/store/user_registry.h"
#include "core/store/user_store.h"

namespace {

using namespace kv820;

// A database of `rows` complete reports of five trackers, made once per size.
const std::string& databaseWithRows(int rows) {
    static std::map<int, std::string> made;
    auto it = made.find(rows);
    if (it != made.end()) {
        return it->second;
    }
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("kv820-bench-startup-" + std::to_string(rows) + ".mdb"))
                                 .string();
    std::filesystem::remove(path);
    createDatabase(path);
    Database db(path);
    for (int u = 0; u < 5; ++u) {
        UserStore(db).addOrUpdate({"user" + std::to_string(u), "09123456" + std::to_string(u),
                                   "35461207123456" + std::to_string(u)});
    }
    Transaction transaction(db);
    Statement insert(db, std::string("INSERT INTO gpslog VALUES (?1,?2,?3,'25.052057','121.502057',"
                                     "'2012/05/08','07:59:59','") +
                             Fix3dText + "','12','18.5200','90','7','" + PeriodReportText + "')");
    for (int i = 0; i < rows; ++i) {
        const int day = 1 + i % 28;
        char date[16];
        char time[16];
        std::snprintf(date, sizeof date, "2026/%02d/%02d", 1 + (i / 28) % 12, day);
        std::snprintf(time, sizeof time, "%02d:%02d:%02d", i % 24, i % 60, (i / 60) % 60);
        insert.bind(1, "35461207123456" + std::to_string(i % 5)).bind(2, date).bind(3, time);
        insert.run();
        insert.reset();
    }
    transaction.commit();
    return made.emplace(rows, path).first->second;
}

void bmStartupStoreWork(benchmark::State& state) {
    const std::string& path = databaseWithRows(static_cast<int>(state.range(0)));
    UserRegistry registry;
    for (auto _ : state) {
        Database users(path);
        Database gpslog(path);
        LoadUsers(users, registry);
        benchmark::DoNotOptimize(GpslogStore(gpslog).PurgeIncompleteGpslogRows());
    }
    state.counters["rows"] = static_cast<double>(state.range(0));
}
BENCHMARK(bmStartupStoreWork)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
