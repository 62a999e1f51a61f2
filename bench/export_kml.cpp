#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "core/records/record_export.h"
#include "core/report/report_kinds.h"

namespace {

// A million-row result made up on the fly, as a database cursor would hand it out: the
// benchmark measures the export, not the holding of a result.
class GeneratedReports final : public kv820::ReportRows {
  public:
    explicit GeneratedReports(long rows) : rows_(rows) {}

    bool forEachOldestFirst(const Visitor& visit) const override {
        std::array<char, 32> lat{};
        std::array<char, 32> lon{};
        for (long i = 0; i < rows_; ++i) {
            std::snprintf(lat.data(), lat.size(), "%.6f", 25.0 + (i % 100000) * 1e-6);
            std::snprintf(lon.data(), lon.size(), "%.6f", 121.0 + (i % 100000) * 1e-6);
            const kv820::ReportRowView row{"2007/05/12",
                                           "10:03:04",
                                           lat.data(),
                                           lon.data(),
                                           "2007/05/12",
                                           "10:02:58",
                                           i % 10 == 9 ? kv820::NoFixText : kv820::Fix3dText,
                                           "12.5",
                                           "0.0000",
                                           "0",
                                           "7",
                                           kv820::PeriodReportText,
                                           ""};
            if (!visit(row)) {
                return true;
            }
        }
        return true;
    }

  private:
    long rows_;
};

long peakResidentKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;  // kilobytes on Linux
}

void bmExportKmlMillionRows(benchmark::State& state) {
    const long rows = state.range(0);
    const GeneratedReports result(rows);
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "kv820_bench.kml";
    const kv820::SearchCriteria criteria{"Tom", {2007, 5, 1, 0, 0, 0}, {2007, 5, 31, 23, 59, 59}};
    for (auto _ : state) {
        if (kv820::ExportKml(path, criteria, result) != kv820::ExportOutcome::Written) {
            state.SkipWithError("export failed");
            break;
        }
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(path));
    state.counters["peak_rss_kB"] = static_cast<double>(peakResidentKilobytes());
    std::filesystem::remove(path);
}

BENCHMARK(bmExportKmlMillionRows)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
