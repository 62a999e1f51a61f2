// Tiles served from an MBTiles file of about a gigabyte, as the map's scheme handler reads
// them: one tile at a time by its place, never the whole file. The figures: tiles a second,
// and the process's resident memory before and after (it must stay flat, whatever the
// file's size).
//
// The file is made once per run in the system's temporary folder and removed afterwards:
// zooms 0 to 8 complete (87,381 tiles) of 12 KiB each, a PNG signature followed by random
// bytes (so that nothing compresses), some 1.07 GB in all. Having just been written, it is
// mostly in the system's file cache: the figures are of a warm file.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "core/store/transaction.h"
#include "core/tiles/mbtiles_file.h"
#include "support/mbtiles_writer.h"

namespace {

namespace fs = std::filesystem;

constexpr int DeepestZoom = 8;
constexpr std::size_t TileBytes = 12 * 1024;

// The resident memory of this process in KiB (Linux); 0 elsewhere.
double residentKib() {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word) {
        if (word == "VmRSS:") {
            double kib = 0;
            status >> kib;
            return kib;
        }
    }
    return 0;
}

class LargeFile {
  public:
    LargeFile() {
        fs::create_directories(dir_);
        kv820::test::MbtilesWriter file(
            path_, {{"format", "png"}, {"minzoom", "0"}, {"maxzoom", std::to_string(DeepestZoom)}});
        std::mt19937_64 random(20240611);
        std::string tile = kv820::test::pngBytes(std::string(TileBytes - 8, '\0'));
        kv820::Transaction transaction(file.database());
        for (int zoom = 0; zoom <= DeepestZoom; ++zoom) {
            for (std::int64_t x = 0; x < (std::int64_t{1} << zoom); ++x) {
                for (std::int64_t y = 0; y < (std::int64_t{1} << zoom); ++y) {
                    for (std::size_t i = 8; i + 8 <= tile.size(); i += 8) {
                        const std::uint64_t bits = random();
                        tile.replace(i, 8, reinterpret_cast<const char*>(&bits), 8);
                    }
                    file.add(zoom, x, y, tile);
                }
            }
        }
        transaction.commit();
    }
    ~LargeFile() {
        std::error_code error;
        fs::remove_all(dir_, error);
    }
    const std::string& path() const { return path_; }

  private:
    fs::path dir_ = fs::temp_directory_path() /
                    ("kv820-bench-mbtiles-" +
                     std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::string path_ = (dir_ / "large.mbtiles").string();
};

const LargeFile& largeFile() {
    static const LargeFile File;
    return File;
}

// Random tiles of the deepest zoom, as a map panned over the whole file asks for them.
void bmServeRandomTiles(benchmark::State& state) {
    const std::string& path = largeFile().path();  // made once, outside the timing
    state.counters["file_mb"] = static_cast<double>(fs::file_size(path)) / 1e6;
    const double before = residentKib();
    kv820::MbtilesFile tiles(path);
    std::mt19937 random(7);
    std::uniform_int_distribution<std::int64_t> place(0, (std::int64_t{1} << DeepestZoom) - 1);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const auto tile = tiles.tile({DeepestZoom, place(random), place(random)});
        bytes += tile->bytes.size();
        benchmark::DoNotOptimize(tile);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
    state.counters["rss_before_mb"] = before / 1024;
    state.counters["rss_after_mb"] = residentKib() / 1024;
}
BENCHMARK(bmServeRandomTiles)->Unit(benchmark::kMicrosecond)->MinTime(3);

// Tiles deeper than the file's zooms (the page asks for none, but a stale one may come):
// answered without a query.
void bmAnswerMissingTiles(benchmark::State& state) {
    kv820::MbtilesFile tiles(largeFile().path());
    std::int64_t x = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tiles.tile({DeepestZoom + 2, x++ % 1024, 5}));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(bmAnswerMissingTiles)->Unit(benchmark::kMicrosecond);

// Opening the file: the metadata and the checks, not the tiles.
void bmOpenFile(benchmark::State& state) {
    largeFile();
    for (auto _ : state) {
        kv820::MbtilesFile tiles(largeFile().path());
        benchmark::DoNotOptimize(tiles.info().maxZoom);
    }
}
BENCHMARK(bmOpenFile)->Unit(benchmark::kMicrosecond);

}  // namespace
