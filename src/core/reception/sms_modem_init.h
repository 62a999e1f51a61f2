#pragma once

#include <optional>
#include <string>

#include "core/at/com_port.h"
#include "core/reception/message_stores.h"
#include "core/sms/message_mode.h"

namespace kv820 {

// How a started modem hands messages over and where it keeps them.
struct SmsModemSetup {
    MessageMode mode = MessageMode::Text;
    MessageStores stores;
};

// Prepares the modem of an SMS session: opens the port of the "COM Port :" entry, wakes
// the modem twice, each time giving it up to 5000 ms to answer "at", sends "at" and "ati",
// then switches to text-mode SMS ("at+cmgf=1"; a modem that refuses it is switched to PDU
// mode, "at+cmgf=0"), points its message stores at the SIM where it can (see
// setUpMessageStores), and asks for an unsolicited "+CMTI" line for every stored message
// ("at+cnmi=1,1"). Succeeds exactly when a mode and the announcements were accepted. About
// a second with a modem that answers at once, up to some ten seconds with one that does
// not, so it runs off the UI thread. A failed start closes the port it opened, so that a
// later start or a cable function finds the port free.
std::optional<SmsModemSetup> InitModemForSms(ComPort& port, const std::string& portEntry);

}  // namespace kv820
