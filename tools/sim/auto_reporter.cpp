#include "sim/auto_reporter.h"

#include "core/common/number_text.h"

#include <cmath>
#include <cstdio>

namespace kv820::sim {
namespace {

constexpr double Pi = 3.14159265358979323846;
// Roughly 50 m per step, with a slow turn so that the track on a map is a curve.
constexpr double StepDegrees = 0.0005;
constexpr double TrackerSpacing = 0.01;

}  // namespace

AutoReporter::AutoReporter(std::vector<std::string> imeis, double longitude, double latitude)
    : imeis_(std::move(imeis)), longitude_(longitude), latitude_(latitude) {}

std::vector<TrackerReport> AutoReporter::next(std::time_t utc) {
    ++step_;
    std::vector<TrackerReport> reports;
    for (std::size_t i = 0; i < imeis_.size(); ++i) {
        const double heading = 0.15 * step_ + static_cast<double>(i);  // radians from north
        const double east = StepDegrees * step_ * std::sin(heading);
        const double north = StepDegrees * step_ * std::cos(heading);
        TrackerReport report = TrackerReport::at(imeis_[i], longitude_ + TrackerSpacing * i + east,
                                                 latitude_ + TrackerSpacing * i + north, utc);
        report.speedKnots = fixedDecimal(20.0 + 5.0 * std::sin(step_ + i), 1);
        double course = std::fmod(heading * 180.0 / Pi, 360.0);
        report.course = fixedDecimal(course, 0);
        report.satellites = std::to_string(6 + (step_ + i) % 5);
        reports.push_back(std::move(report));
    }
    return reports;
}

}  // namespace kv820::sim
