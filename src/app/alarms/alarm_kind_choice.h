#pragma once

#include <array>
#include <set>

#include "core/alarms/tracker_events.h"

namespace kv820 {

// Which events raise the alarm window: an SOS always, a tracker reporting again never (it
// is good news), the others as the operator chose; each is on until switched off. Kept in
// the program's settings.
class AlarmKindChoice {
  public:
    static constexpr std::array<EventKind, 4> Switchable = {
        EventKind::GeofenceEnter, EventKind::GeofenceExit, EventKind::Overspeed,
        EventKind::Overdue};

    static AlarmKindChoice load();
    void save() const;

    bool raises(EventKind kind) const;
    void setRaises(EventKind kind, bool raised);

  private:
    std::set<EventKind> off_;
};

}  // namespace kv820
