#include "core/alarms/report_alarms.h"

#include "core/alarms/event_time.h"
#include "core/report/position_report.h"
#include "core/store/database.h"
#include "core/store/statement.h"
#include "core/store/store_channels.h"
#include "core/store/transaction.h"

namespace kv820 {

ReportAlarms::ReportAlarms(Database& db) : db_(db), store_(db), forwardStore_(db) {
    AlarmStore::ensureTables(db_);
    ForwardStore::ensureTables(db_);
    reloadWhenChanged();
    for (const auto& [imei, fenceId] : store_.lastInside()) {
        detector_.restoreInside(imei, fenceId);
    }
}

void ReportAlarms::reloadWhenChanged() {
    const std::int64_t version = db_.dataVersion();
    if (dataVersion_ == version) {
        return;
    }
    dataVersion_ = version;
    detector_.setFences(store_.geofences());
    forwardSettings_ = forwardStore_.settings();
    for (const auto& [imei, watch] : store_.watches()) {
        detector_.setWatch(imei, watch);
    }
}

std::vector<TrackerEvent> ReportAlarms::storeEventsOf(const PositionReport& report,
                                                      std::chrono::milliseconds arrived) {
    reloadWhenChanged();
    pendingImei_ = report.imei;
    pendingBefore_ = detector_.trackerState(report.imei);
    const ReportFacts facts = factsOfReport(report, arrived);
    LastSeen& seen = lastSeen_[report.imei];
    seen.userName = report.userName;
    if (facts.position) {
        seen.position = facts.position;
    }
    std::vector<TrackerEvent> events = detector_.onReport(facts);
    for (TrackerEvent& event : events) {
        event.id = store_.appendEvent(event);
        queueForwards(event);
    }
    return events;
}

void ReportAlarms::queueForwards(const TrackerEvent& event) {
    if (!forwardSettings_.forwards(event.kind)) {
        return;
    }
    const auto seen = lastSeen_.find(event.imei);
    const ForwardedEvent forwarded{event,
                                   seen == lastSeen_.end() ? event.imei : seen->second.userName,
                                   seen == lastSeen_.end() ? std::nullopt : seen->second.position};
    for (const Forward& forward :
         forwardsOf(forwarded, forwardSettings_, eventTimeTextAt(std::time(nullptr)))) {
        forwardStore_.queue(forward);
    }
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
            queueForwards(event);
        }
        db_.notify(StoredChannel);
        transaction.commit();
    } catch (...) {
        detector_ = std::move(before);
        throw;
    }
    return events;
}

}  // namespace kv820
