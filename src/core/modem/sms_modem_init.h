#pragma once

#include <string>

#include "core/modem/com_port.h"

namespace kv820 {

// Prepares the modem of an SMS session: opens the port of the "COM Port :" entry, wakes
// the modem twice with 5000 ms pauses, sends "at" and "ati", then switches to text-mode
// SMS ("at+cmgf=1") with an unsolicited "+CMTI" line for every stored message
// ("at+cnmi=1,1"). Succeeds exactly when both of the last two replies hold "OK". About
// ten seconds in all, so it runs off the UI thread. A failed start closes the port it
// opened, so that a later start or a cable function finds the port free.
bool InitModemForSms(ComPort& port, const std::string& portEntry);

}  // namespace kv820
