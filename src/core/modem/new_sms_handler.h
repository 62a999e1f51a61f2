#pragma once

#include <string_view>

#include "core/modem/com_port.h"
#include "core/modem/modem_log.h"
#include "core/modem/new_sms_outcome.h"
#include "core/store/user_registry.h"

namespace kv820 {

class GpslogStore;

// What handling a new SMS needs: the session's port, the registry (read through one
// snapshot per SMS), the gpslog table on the handling thread's own connection (null when
// the database could not be opened) and the modem log.
struct NewSmsContext {
    ComPort& port;
    const UserRegistry& users;
    GpslogStore* store;
    ModemLog log;
};

// Reads the announced SMS with "at+cmgr=", logs the reply, and:
// - a whole reply without "?35" is not a report: it is deleted with "at+cmgd=";
// - a report is decoded and its row committed to gpslog BEFORE "at+cmgd=" is sent, so
//   that no report is ever lost; when the row cannot be stored the SMS stays in the
//   modem and the log says so;
// - a reply that did not arrive whole, or a report without its "!" end mark, is left in
//   the modem (with a log line), never deleted unread.
NewSmsOutcome ProcessNewSms(std::string_view announcementLine, NewSmsContext& context);

}  // namespace kv820
