// The events one report raises, against 100 fences (half circles, half 24-corner polygons)
// spread over a city: the work added to every stored report. Goal: under 0.1 ms.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

#include "core/alarms/tracker_events.h"

namespace kv820 {
namespace {

std::vector<Geofence> cityFences(int count) {
    std::vector<Geofence> fences;
    for (int i = 0; i < count; ++i) {
        Geofence fence;
        fence.id = i + 1;
        fence.name = "fence " + std::to_string(i);
        fence.speedLimitKmh = 30 + i % 5 * 10;
        const GeoPoint centre{52.4 + (i % 10) * 0.02, 13.3 + (i / 10) * 0.03};
        if (i % 2 == 0) {
            fence.centre = centre;
            fence.radiusMetres = 400;
        } else {
            fence.shape = Geofence::Shape::Polygon;
            for (int k = 0; k < 24; ++k) {
                const double angle = 2 * std::numbers::pi * k / 24;
                fence.corners.push_back(
                    {centre.lat + 0.004 * std::sin(angle), centre.lon + 0.006 * std::cos(angle)});
            }
        }
        fences.push_back(fence);
    }
    return fences;
}

void bmEventsOfOneReportWith100Fences(benchmark::State& state) {
    EventDetector detector;
    detector.setFences(cityFences(100));
    detector.setWatch("354612071234567", {.speedLimitKmh = 80});
    ReportFacts report{"354612071234567", "2026/03/02 08:00:00", GeoPoint{}, 50, false, true};
    std::int64_t step = 0;
    for (auto _ : state) {
        // A drive across the fences, so that enter, exit and speed checks all happen.
        report.position = GeoPoint{52.4 + (step % 200) * 0.001, 13.3 + (step % 300) * 0.001};
        report.arrived = std::chrono::milliseconds(step * 30000);
        benchmark::DoNotOptimize(detector.onReport(report));
        ++step;
    }
}
BENCHMARK(bmEventsOfOneReportWith100Fences);

}  // namespace
}  // namespace kv820
