#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/alarms/forward_store.h"
#include "core/alarms/tracker_events.h"
#include "core/reception/modem_health.h"
#include "core/report/position_report.h"
#include "core/store/gpslog_store.h"

namespace kv820 {

// A report that is safely stored and gone from the modem, with the range of its tracker's
// history the screens show (newest first, read with GpslogStore::newestFirst).
struct StoredReportEvent {
    PositionReport report;
    bool alreadyStored = false;  // an equal row existed; no second row was added
    ReceiveRange historyRange;
    // What the report raised (fences, speed, SOS, reporting again), stored with it.
    std::vector<TrackerEvent> events;
};

// What an SMS session tells the screens. Every call comes on the session's own thread: an
// application forwards them to its UI thread and must not block in them, so that
// reception never waits for the operator.
class SmsSessionListener {
  public:
    virtual ~SmsSessionListener() = default;

    // Text for the modem log, to be appended exactly as given.
    virtual void modemLog(std::string_view text) = 0;
    // One line the modem sent, with its own line end. The log shows it followed by CR LF,
    // and a log box empties itself first once it holds more than 100 lines; a listener
    // that applies that rule itself overrides this.
    virtual void modemLine(std::string_view line) {
        modemLog(line);
        modemLog("\r\n");
    }
    // The modem start finished. On failure "COM Port ERROR!!!" is in the log already, the
    // port is closed, and the session ends (sessionEnded follows).
    virtual void sessionStarted(bool ready) = 0;
    // Fill the panel, show the history, and open the map when tracking points are viewed.
    virtual void reportStored(const StoredReportEvent& event) = 0;
    // A report could not be stored; its SMS stays in the modem (the log says so).
    virtual void reportStoreFailed(const PositionReport& report, std::string_view why) = 0;
    // The session's state, signal, SIM storage or last report changed.
    virtual void healthChanged(const SessionHealth& health) { (void)health; }
    // Events raised without a report (a tracker gone silent), stored already.
    virtual void eventsRaised(const std::vector<TrackerEvent>& events) { (void)events; }
    // A forward of an event was given up after its last attempt (the log said why).
    virtual void forwardFailed(const Forward& forward) { (void)forward; }
    // The session is over: the port is closed and no queued job will run any more.
    virtual void sessionEnded() = 0;
};

}  // namespace kv820
