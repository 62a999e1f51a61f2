#include "core/ports/port_scan.h"

#include "core/at/com_port.h"

namespace kv820 {

namespace {
constexpr std::string_view AnsweredMark = "...[Open succeed]";
constexpr std::string_view SilentMark = "...[Open failed]";
}  // namespace

std::string scanningStatus(const std::string& entry) {
    return "Scanning " + portNameFromEntry(entry) + "...";
}

std::string scanResultLine(const std::string& entry, bool answered) {
    return "Scanning " + portNameFromEntry(entry) +
           std::string(answered ? AnsweredMark : SilentMark);
}

std::optional<std::size_t> firstAnsweringEntry(const std::vector<std::string>& lines,
                                               std::size_t entryCount) {
    for (std::size_t row = 0; row < lines.size() && row < entryCount; ++row) {
        if (lines[row].find(AnsweredMark) != std::string::npos) {
            return row;
        }
    }
    return std::nullopt;
}

bool PortScan::run(const std::vector<std::string>& entries, const PortScanListener& listener,
                   const std::stop_token& stop, const std::stop_token& breakScan) {
    const auto ended = [&] { return stop.stop_requested() || breakScan.stop_requested(); };
    for (std::size_t row = 0; row < entries.size(); ++row) {
        if (ended()) {
            return false;
        }
        listener.status(scanningStatus(entries[row]));
        const bool answered = probe_(entries[row], stop);
        if (stop.stop_requested()) {
            return false;
        }
        listener.line(row, scanResultLine(entries[row], answered));
    }
    clock_.sleepFor(RestBeforeCompletion);
    if (ended()) {
        return false;
    }
    listener.line(entries.size(), std::string(ScanCompletedLine));
    listener.status(std::string(ScanCompleteStatus));
    return true;
}

}  // namespace kv820
