#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "core/trips/track_summary.h"

namespace kv820 {

// Driving and reports added up per local day. A leg's time is shared among the days it
// spans to the second, its distance in the same shares.
class DayLedger {
  public:
    void addReport(std::int64_t moment);
    void addLeg(std::int64_t from, std::int64_t to, double metres);
    void addSpeed(std::int64_t moment, double kmh);
    // Adds everything of `other` and empties it.
    void takeFrom(DayLedger& other);
    void clear() { days_.clear(); }

    std::vector<DaySummary> summaries() const;

  private:
    struct Day {
        double metres = 0;
        std::int64_t seconds = 0;
        double maxSpeedKmh = 0;
        std::size_t reports = 0;
    };

    std::map<std::int64_t, Day> days_;
};

}  // namespace kv820
