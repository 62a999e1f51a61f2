#include "core/reception/report_feed.h"

#include "core/alarms/alarm_store.h"
#include "core/records/search_criteria.h"
#include "core/report/position_report.h"
#include "core/store/database.h"
#include "core/store/gpslog_store.h"
#include "core/store/store_channels.h"
#include "core/store/transaction.h"
#include "core/store/user_registry.h"

namespace kv820 {

namespace {

std::int64_t lastEventId(Database& db) {
    return AlarmStore::hasTables(db) ? AlarmStore(db).lastEventId() : 0;
}

// A report's events carry its GPS moment and its tracker; a tracker gone silent raises
// its event without a report.
bool raisedBy(const TrackerEvent& event, const PositionReport& report) {
    return event.kind != EventKind::Overdue && event.imei == report.imei &&
           event.time == factsOfReport(report, {}).time;
}

}  // namespace

ReportFeed::ReportFeed(Database& db, const UserRegistry& users)
    : users_(users),
      reports_(GpslogStore(db).lastRowid(), GapPatience),
      events_(lastEventId(db), GapPatience) {
    attach(db);
}

void ReportFeed::reconnect(Database& db) {
    attach(db);
}

void ReportFeed::attach(Database& db) {
    db_ = &db;
    hasEvents_ = AlarmStore::hasTables(db);
    db.listen(StoredChannel);
}

FeedNews ReportFeed::read(std::chrono::milliseconds now, const std::tm& localNow) {
    std::vector<StoredGpslogRow> rows;
    std::vector<StoredEvent> events;
    {
        // A report and its events are committed together: one snapshot sees both.
        Transaction snapshot(*db_, Transaction::Purpose::Read);
        rows = GpslogStore(*db_).rowsAbove(reports_.readAbove(), RowsPerLook);
        if (hasEvents_) {
            events = AlarmStore(*db_).eventsAbove(events_.readAbove(), RowsPerLook);
        }
        snapshot.commit();
    }
    // Only a whole look counts as read: one that failed is read again.
    FeedNews news;
    const UserRegistry::Snapshot users = users_.snapshot();
    const SearchCriteria history = SearchCriteria::yearsAround(localNow);
    for (const StoredGpslogRow& stored : rows) {
        if (reports_.take(stored.rowid)) {
            StoredReportEvent& event = news.reports.emplace_back();
            event.report = fromGpslogRow(stored.row, users);
            event.historyRange = history.receiveRange(event.report.imei);
        }
    }
    for (StoredEvent& stored : events) {
        if (!events_.take(stored.id)) {
            continue;
        }
        std::vector<TrackerEvent>* owner = &news.events;
        for (StoredReportEvent& report : news.reports) {
            if (raisedBy(stored.event, report.report)) {
                owner = &report.events;
            }
        }
        owner->push_back(std::move(stored.event));
    }
    reports_.settle(now);
    events_.settle(now);
    return news;
}

}  // namespace kv820
