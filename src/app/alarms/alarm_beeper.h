#pragma once

namespace kv820 {

// Makes the audible signal of an alarm. Replaceable, so that tests count the beeps.
class AlarmBeeper {
  public:
    virtual ~AlarmBeeper() = default;
    virtual void beep() = 0;
};

// The desktop's own bell.
class ApplicationBeeper final : public AlarmBeeper {
  public:
    void beep() override;
};

}  // namespace kv820
