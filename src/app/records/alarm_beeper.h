#pragma once

namespace kv820 {

// Makes the audible signal of an alarm. Replaceable, so that tests count the beeps.
class AlarmBeeper {
  public:
    virtual ~AlarmBeeper() = default;
    virtual void beep() = 0;
};

}  // namespace kv820
