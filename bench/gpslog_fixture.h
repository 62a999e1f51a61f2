#pragma once

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>

#include <unistd.h>

#include "core/common/number_text.h"
#include "core/records/search_criteria.h"
#include "core/report/report_kinds.h"
#include "core/store/database.h"
#include "core/store/gpslog_row.h"
#include "core/store/schema.h"
#include "core/store/statement.h"
#include "core/store/transaction.h"

namespace kv820::bench {

inline const char* const TrackerImeis[] = {"356789012345671", "356789012345672", "356789012345673",
                                           "356789012345674", "356789012345675"};

// A gpslog of `rows` reports from five trackers taking turns, one report every `stepSeconds`
// from 2005 on, built once in /tmp with one transaction and one prepared insert.
class GpslogFixture {
  public:
    GpslogFixture(const std::string& name, long rows, long stepSeconds)
        : GpslogFixture(name, rows, [stepSeconds](long i) {
              const std::time_t start = 1104537600;  // 2005-01-01 00:00:00 UTC
              return rowAt(TrackerImeis[i % 5], start + i * stepSeconds);
          }) {}

    // A gpslog of the rows `rowOf` gives for 0 to `rows` - 1, built the same way.
    GpslogFixture(const std::string& name, long rows, const std::function<GpslogRow(long)>& rowOf)
        : path_("/tmp/kv820-bench-" + name + "-" + std::to_string(::getpid()) + ".mdb") {
        createDatabase(path_);
        Database db(path_);
        db.execute("PRAGMA synchronous=OFF");
        db.execute("PRAGMA cache_size=-262144");
        Transaction transaction(db);
        Statement insert(db,
                         "INSERT INTO gpslog VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13)");
        for (long i = 0; i < rows; ++i) {
            const GpslogRow row = rowOf(i);
            for (int c = 0; c < static_cast<int>(GpslogColumnCount); ++c) {
                insert.bind(c + 1, row[c]);
            }
            insert.run();
            insert.reset();
        }
        transaction.commit();
        db.execute("ANALYZE");
    }
    ~GpslogFixture() {
        for (const char* suffix : {"", "-wal", "-shm"}) {
            std::remove((path_ + suffix).c_str());
        }
    }

    const std::string& path() const { return path_; }

    static GpslogRow rowAt(const std::string& imei, std::time_t moment) {
        std::tm t{};
        gmtime_r(&moment, &t);
        const std::string date = dateText(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
        const std::string time = timeText(t.tm_hour, t.tm_min, t.tm_sec);
        return {imei,    date,      time,  "25.052057", "121.502057",    date, time, Fix3dText,
                "120.5", "18.5200", "270", "8",         PeriodReportText};
    }

  private:
    std::string path_;
};

// The searches' range: the year 2008 of the third tracker, about 105,000 of its reports.
inline ReceiveRange oneYearOfOneTracker() {
    return SearchCriteria{{}, {2008, 1, 1, 0, 0, 0}, {2008, 12, 31, 23, 59, 59}}.receiveRange(
        TrackerImeis[2]);
}

}  // namespace kv820::bench
