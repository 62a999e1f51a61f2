#pragma once

#include <chrono>
#include <cstddef>
#include <ctime>
#include <vector>

#include "core/alarms/tracker_events.h"
#include "core/reception/sms_session_listener.h"
#include "core/store/row_follower.h"

namespace kv820 {

class Database;
class UserRegistry;

// What the receivers stored since the last look.
struct FeedNews {
    // Each report with the events it raised.
    std::vector<StoredReportEvent> reports;
    // The events raised without a report of this look (a tracker gone silent, or one whose
    // report came in an earlier look).
    std::vector<TrackerEvent> events;

    bool empty() const { return reports.empty() && events.empty(); }
};

// A desk's view of a shared database: the reports and events the receivers store, in the
// shapes an SMS session of the desk's own would have given them. It follows them by row
// number from where it was made, so a desk that lost its connection reads what it missed
// once it has a new one (RowFollower). The receivers' notifications only say when to look.
class ReportFeed {
  public:
    // How long a row number missing below one already read is waited for.
    static constexpr std::chrono::milliseconds GapPatience{10000};
    // The most reports and the most events read in one look; the rest come in the next.
    static constexpr std::size_t RowsPerLook = 500;

    // Follows what is stored after this moment. Throws DatabaseError.
    ReportFeed(Database& db, const UserRegistry& users);

    // Listens on a new connection to the same database, and reads from there on from where
    // this one stopped. Throws DatabaseError.
    void reconnect(Database& db);
    // The news since the last look, as one consistent snapshot. `now` is on the program's
    // monotonic clock; `localNow` gives each report's history range. Throws DatabaseError.
    FeedNews read(std::chrono::milliseconds now, const std::tm& localNow);

  private:
    void attach(Database& db);

    Database* db_ = nullptr;
    const UserRegistry& users_;
    bool hasEvents_ = false;
    RowFollower reports_;
    RowFollower events_;
};

}  // namespace kv820
