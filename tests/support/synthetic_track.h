#pragma once

#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

#include "core/common/great_circle.h"
#include "core/common/number_text.h"
#include "core/report/position_report.h"
#include "core/store/database.h"
#include "core/store/gpslog_store.h"
#include "core/store/transaction.h"
#include "core/trips/local_moment.h"

namespace kv820::test {

// A tracker's reports made up leg by leg: parking with jitter, straight drives, silences.
// Offsets are in metres north and east of a point near Taipei.
class SyntheticTrack {
  public:
    explicit SyntheticTrack(std::int64_t start) : now_(start) {}

    static std::int64_t at(const char* date, const char* time) {
        return *localSecondsOf(date, time);
    }

    // Reports every `step` seconds for `seconds`, each up to `jitter` metres off the spot
    // (a fixed pattern: north, east, south, west).
    SyntheticTrack& park(std::int64_t seconds, std::int64_t step = 30, double jitter = 20) {
        const double offsets[][2] = {{jitter, 0}, {0, jitter}, {-jitter, 0}, {0, -jitter}};
        for (std::int64_t t = 0; t < seconds; t += step) {
            const auto& offset = offsets[(t / step) % 4];
            report(north_ + offset[0], east_ + offset[1], 0);
            now_ += step;
        }
        return *this;
    }
    // Straight at even speed to the spot `north` and `east` metres away, a report every
    // `step` seconds including the arrival.
    SyntheticTrack& drive(double north, double east, std::int64_t seconds, std::int64_t step = 30) {
        const double fromNorth = north_, fromEast = east_;
        const double kmh = std::hypot(north, east) / static_cast<double>(seconds) * 3.6;
        for (std::int64_t t = step; t <= seconds; t += step) {
            const double share = static_cast<double>(t) / static_cast<double>(seconds);
            north_ = fromNorth + north * share;
            east_ = fromEast + east * share;
            now_ += step;
            report(north_, east_, kmh);
        }
        now_ += step;
        return *this;
    }
    // Jumps to a spot without reporting on the way, `seconds` later.
    SyntheticTrack& silence(std::int64_t seconds, double north = 0, double east = 0) {
        north_ += north;
        east_ += east;
        now_ += seconds;
        return *this;
    }
    // One report at an offset from the current spot, `step` seconds on.
    SyntheticTrack& once(double north, double east, double kmh, std::int64_t step = 30) {
        report(north_ + north, east_ + east, kmh);
        now_ += step;
        return *this;
    }

    std::vector<PositionReport> reports;

  private:
    static constexpr GeoPoint Origin{25.05, 121.5};

    void report(double north, double east, double kmh) {
        const double metresPerDegree = EarthRadiusMetres * std::numbers::pi / 180;
        PositionReport r;
        const std::string moment = localMomentText(now_);
        r.gpsDate = moment.substr(0, 10);
        r.gpsTime = moment.substr(11);
        r.gpsStatus = "3D";
        r.gpsPosLat = fixedDecimal(Origin.lat + north / metresPerDegree, 6);
        r.gpsPosLon = fixedDecimal(
            Origin.lon + east / (metresPerDegree * std::cos(Origin.lat * std::numbers::pi / 180)),
            6);
        r.gpsSpeed = fixedDecimal(kmh, 4);
        reports.push_back(r);
    }

    std::int64_t now_;
    double north_ = 0;
    double east_ = 0;
};

// Stores the reports as `imei`'s, each received at its GPS time, in one transaction.
inline void storeTrack(Database& db, const std::string& imei,
                       const std::vector<PositionReport>& reports) {
    GpslogStore store(db);
    Transaction transaction(db);
    for (PositionReport report : reports) {
        report.imei = imei;
        report.receiveDate = report.gpsDate;
        report.receiveTime = report.gpsTime;
        store.append(toGpslogRow(report));
    }
    transaction.commit();
}

}  // namespace kv820::test
