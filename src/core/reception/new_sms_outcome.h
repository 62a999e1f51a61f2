#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/alarms/tracker_events.h"
#include "core/at/modem_event.h"
#include "core/report/position_report.h"

namespace kv820 {

// What handling one announced SMS came to, and so what the screens must show.
struct NewSmsOutcome {
    enum class Kind {
        NonReportDeleted,     // a whole, accepted reply without "?35": deleted, nothing stored
        UnreadKept,           // the reply did not arrive whole: the SMS stays in the modem
        ReadRefusedKept,      // the modem refused the read (an error result): it stays too
        PartialReportKept,    // "?35" but no "!" end mark: the SMS stays in the modem
        ReportStored,         // stored, then deleted from the modem
        ReportAlreadyStored,  // an equal row was stored before: deleted, not stored again
        StoreFailed,          // not stored: the SMS stays in the modem
        UndecodableKept,      // a PDU that is no message: it stays in the modem
        PartKept,             // a part of a longer message: it stays until the rest came
    };

    Kind kind = Kind::NonReportDeleted;
    int index = 0;
    // Where the message lies: one place, or those of every part of a joined message.
    std::vector<MessagePlace> places;
    // Set for ReportStored, ReportAlreadyStored and StoreFailed.
    std::optional<PositionReport> report;
    // What a newly stored report raised, stored with it (ReportStored only).
    std::vector<TrackerEvent> events;
    // Why the store failed (StoreFailed only).
    std::string failure;

    // A report to show on the panel, in the tracker's history and (when asked) on the map.
    bool hasStoredReport() const {
        return kind == Kind::ReportStored || kind == Kind::ReportAlreadyStored;
    }
    // Left in the modem for a reason that a second read would not change.
    bool keptForGood() const {
        return kind == Kind::PartialReportKept || kind == Kind::UndecodableKept ||
               kind == Kind::PartKept;
    }
    // Left in the modem for a reason that may pass: it is worth reading again.
    bool keptForNow() const {
        return kind == Kind::UnreadKept || kind == Kind::ReadRefusedKept ||
               kind == Kind::StoreFailed;
    }
};

}  // namespace kv820
