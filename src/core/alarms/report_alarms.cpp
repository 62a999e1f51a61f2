#include "core/alarms/report_alarms.h"

#include "core/report/position_report.h"
#include "core/store/database.h"
#include "core/store/statement.h"
#include "core/store/transaction.h"

namespace kv820 {

namespace {

// Changes whenever another connection commits to the file; our own commits leave it.
std::int64_t dataVersion(Database& db) {
    Statement query(db, "PRAGMA data_version");
    return query.step() ? query.integer(0) : 0;
}

}  // namespace

ReportAlarms::ReportAlarms(Database& db) : db_(db), store_(db) {
    AlarmStore::ensureTables(db_);
    reloadWhenChanged();
    for (const auto& [imei, fenceId] : store_.lastInside()) {
        detector_.restoreInside(imei, fenceId);
    }
}

void ReportAlarms::reloadWhenChanged() {
    const std::int64_t version = dataVersion(db_);
    if (dataVersion_ == version) {
        return;
    }
    dataVersion_ = version;
    detector_.setFences(store_.geofences());
    for (const auto& [imei, watch] : store_.watches()) {
        detector_.setWatch(imei, watch);
    }
}

std::vector<TrackerEvent> ReportAlarms::storeEventsOf(const PositionReport& report,
                                                      std::chrono::milliseconds arrived) {
    reloadWhenChanged();
    pendingImei_ = report.imei;
    pendingBefore_ = detector_.trackerState(report.imei);
    std::vector<TrackerEvent> events = detector_.onReport(factsOfReport(report, arrived));
    for (TrackerEvent& event : events) {
        event.id = store_.appendEvent(event);
    }
    return events;
}

void ReportAlarms::committed() {
    pendingBefore_.reset();
}

void ReportAlarms::rolledBack() {
    if (pendingBefore_) {
        detector_.restoreTrackerState(pendingImei_, std::move(*pendingBefore_));
        pendingBefore_.reset();
    }
}

std::vector<TrackerEvent> ReportAlarms::checkOverdue(std::chrono::milliseconds now,
                                                     const std::string& nowText) {
    reloadWhenChanged();
    // Taken before the check marks them overdue: a failed store leaves them to the next check.
    EventDetector before = detector_;
    std::vector<TrackerEvent> events = detector_.checkOverdue(now, nowText);
    if (events.empty()) {
        return events;
    }
    try {
        Transaction transaction(db_);
        for (TrackerEvent& event : events) {
            event.id = store_.appendEvent(event);
        }
        transaction.commit();
    } catch (...) {
        detector_ = std::move(before);
        throw;
    }
    return events;
}

}  // namespace kv820
