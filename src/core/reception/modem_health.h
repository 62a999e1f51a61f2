#pragma once

#include <optional>
#include <string>

#include "core/at/modem_reply.h"

namespace kv820 {

// How a session stands, for the status bar and the log.
struct SessionHealth {
    enum class State { Idle, Receiving, WaitingForModem };

    State state = State::Idle;
    std::optional<int> signalDbm;  // from "at+csq"; none while unknown
    std::optional<int> simUsed;    // from "at+cpms?": messages held and room in all
    std::optional<int> simTotal;
    std::string lastReport;  // receive date and time of the last stored report

    // A full SIM refuses new reports: two free places or fewer is the time to act.
    bool simNearlyFull() const;
    bool operator==(const SessionHealth&) const = default;
};

// The signal of a "+CSQ: rssi,ber" reply in dBm (rssi 0 is -113 dBm or less, 31 is -51 dBm or
// more); none for 99 ("not known") or a reply without it.
std::optional<int> signalDbmFromReply(const ModemReply& reply);

// Bars out of four for a signal, as phones show them.
int signalBars(int dbm);

// The status bar's text: "Receiving | Signal 3/4 -77 dBm | SIM 3/30 | Last report ...".
std::string sessionHealthText(const SessionHealth& health);

}  // namespace kv820
