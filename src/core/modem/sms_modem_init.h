#pragma once

#include <string>

#include "core/modem/com_port.h"

namespace kv820 {

// Prepares the modem of an SMS session: opens the port of the "COM Port :" entry, wakes
// the modem twice, each time giving it up to 5000 ms to answer "at", sends "at" and "ati",
// then switches to text-mode SMS ("at+cmgf=1") with an unsolicited "+CMTI" line for every
// stored message ("at+cnmi=1,1"). Succeeds exactly when both of the last two replies end
// in "OK". About a second with a modem that answers at once, up to some ten seconds with
// one that does not, so it runs off the UI thread. A failed start closes the port it
// opened, so that a later start or a cable function finds the port free.
bool InitModemForSms(ComPort& port, const std::string& portEntry);

}  // namespace kv820
