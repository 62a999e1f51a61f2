#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/clock.h"

namespace kv820 {

// Probes the port of one list entry; true when the wanted device answered there. Returns
// soon once `stop` is requested.
using PortProbe = std::function<bool(const std::string& entry, const std::stop_token& stop)>;

// What a scan tells its window: the status line and the list line at a row.
struct PortScanListener {
    std::function<void(const std::string& status)> status;
    std::function<void(std::size_t row, const std::string& line)> line;
};

// Probes every entry of a "COM Port :" list in turn and reports each result as one list
// line, then the closing line and the completed status.
class PortScan {
  public:
    static constexpr std::chrono::milliseconds RestBeforeCompletion{1000};

    PortScan(PortProbe probe, Clock& clock) : probe_(std::move(probe)), clock_(clock) {}

    // True when every entry was probed; false when `stop` ended the scan first (the port
    // being probed then gets no line). Once `breakScan` is requested no further port is
    // probed: the one being probed finishes and gets its line, and the scan ends there.
    // The clock is to be one whose pauses `stop` ends.
    bool run(const std::vector<std::string>& entries, const PortScanListener& listener,
             const std::stop_token& stop, const std::stop_token& breakScan = {});

  private:
    PortProbe probe_;
    Clock& clock_;
};

inline constexpr std::string_view ScanStartStatus = "Scan...";
inline constexpr std::string_view ScanCompletedLine = "Scanning Completed.";
inline constexpr std::string_view ScanCompleteStatus = "Complete Scan.";
inline constexpr std::string_view ScanBrokenStatus = "Break Scan.";

// "Scanning COM3..." while the port of entry "COM3:" is probed.
std::string scanningStatus(const std::string& entry);
// "Scanning COM3...[Open succeed]" or "Scanning COM3...[Open failed]".
std::string scanResultLine(const std::string& entry, bool answered);

// The entry to select after a scan: the row of the first line, among the first
// `entryCount`, that says its port answered; nothing when no port answered.
std::optional<std::size_t> firstAnsweringEntry(const std::vector<std::string>& lines,
                                               std::size_t entryCount);

}  // namespace kv820
