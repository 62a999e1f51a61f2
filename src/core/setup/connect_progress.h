#pragma once

#include <string>
#include <string_view>

#include "core/setup/setup_progress.h"

namespace kv820 {

// The connect sequence's animated status: "Connecting now! Please Wait" with one to five
// dots.
class ConnectProgress {
  public:
    explicit ConnectProgress(SetupProgress report) : report_(std::move(report)) {}

    // The status with the given number of dots (1 to 5).
    static std::string text(int dots);

    // Shows the status with `dots` dots; the animation counter is not moved.
    void show(int dots);
    // Moves the animation on by one: the counter modulo 5 dots, five when that is 0.
    void advance();
    // Clears the status line.
    void clear();

  private:
    void report(std::string_view text);

    SetupProgress report_;
    int step_ = 0;
};

}  // namespace kv820
