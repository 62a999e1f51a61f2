#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "sim/tracker_report.h"

namespace kv820::sim {

// Plays a few trackers on the move: each call gives every tracker's next period report,
// a 3D fix a little further along its own path, stamped with the given UTC time.
class AutoReporter {
  public:
    explicit AutoReporter(std::vector<std::string> imeis, double longitude = 121.502057,
                          double latitude = 25.052057);

    std::vector<TrackerReport> next(std::time_t utc);
    const std::vector<std::string>& imeis() const { return imeis_; }

  private:
    std::vector<std::string> imeis_;
    double longitude_;
    double latitude_;
    int step_ = 0;
};

}  // namespace kv820::sim
