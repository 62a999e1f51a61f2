#pragma once

#include <chrono>
#include <vector>

#include "core/at/com_port.h"
#include "core/at/modem_log.h"
#include "core/reception/message_stores.h"
#include "core/reception/new_sms_outcome.h"
#include "core/sms/concatenated_messages.h"
#include "core/sms/message_mode.h"
#include "core/store/user_registry.h"

namespace kv820 {

class GpslogStore;
class ReportAlarms;

// What handling a new SMS needs: the session's port, the registry (read through one
// snapshot per SMS), the gpslog table on the handling thread's own connection (null when
// the database could not be opened) and the modem log; how the modem hands messages over,
// its stores (null: every command goes to the modem's default store) and the parts of
// longer messages read so far (null: a part is handled on its own).
struct NewSmsContext {
    ComPort& port;
    const UserRegistry& users;
    GpslogStore* store;
    ModemLog log;
    MessageMode mode = MessageMode::Text;
    MessageStores* stores = nullptr;
    ConcatenatedMessages* parts = nullptr;
    // The events of each new report, stored in the report's transaction (null: none), and
    // the moment the report arrived on the session's clock.
    ReportAlarms* alarms = nullptr;
    std::chrono::milliseconds now{0};
};

// Reads the SMS at `place` with "at+cmgr=" (in the store it names, reads pointed back at the
// store in use afterwards), logs the reply, and:
// - a whole reply without "?35" is not a report: it is deleted with "at+cmgd=";
// - a report is decoded and its row committed to gpslog BEFORE "at+cmgd=" is sent, so
//   that no report is ever lost; when the row cannot be stored the SMS stays in the
//   modem and the log says so;
// - a reply that did not arrive whole, or a report without its "!" end mark, is left in
//   the modem (with a log line), never deleted unread.
// In PDU mode the message is decoded first and handled as the same message in text mode;
// a status report is no report; a part of a longer message stays in the modem until its
// message is whole, and is then handled with the others as one message.
// The place is the one a "+CMTI" announcement named, or one found in a listing of the
// stored messages: a message found stored is handled exactly as if just announced.
NewSmsOutcome ProcessNewSms(MessagePlace place, NewSmsContext& context);

// The longer messages whose missing parts have not come within their wait, handled as
// they are: a report that is not whole stays in the modem, and so does a message whose
// start is missing (it may be a report's); the others are deleted as no report.
std::vector<NewSmsOutcome> processOverdueParts(NewSmsContext& context);

}  // namespace kv820
