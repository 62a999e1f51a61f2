#pragma once

#include <string>

namespace kv820::sim {

// Habits of modems in the field that the textbook modem lacks. Each one is off by default.
struct ModemHabits {
    // New messages go to the modem's own memory ("ME") and are announced there, whatever
    // store the program asked for: the receiving position offers "ME" only.
    bool receiveInPhoneMemory = false;
    // Text mode is refused: the modem speaks PDU mode only.
    bool pduOnly = false;
    // Every n-th announcement is lost on the way (0: none is).
    int loseEveryNth = 0;
    // The next n announcements are lost.
    int loseNext = 0;
    // The next message text is refused with "+CMS ERROR: <code>" (0: none is).
    int refuseNextSend = 0;
};

}  // namespace kv820::sim
