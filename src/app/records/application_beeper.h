#pragma once

#include "app/records/alarm_beeper.h"

namespace kv820 {

// The desktop's own bell.
class ApplicationBeeper final : public AlarmBeeper {
  public:
    void beep() override;
};

}  // namespace kv820
