#pragma once

#include <chrono>
#include <istream>
#include <stop_token>

#include "core/at/modem_log.h"
#include "core/common/clock.h"

namespace kv820 {

// One run of the firmware view: hands each complete block of the image to the modem log
// line by line, pausing between blocks so the log stays readable, until the image is
// exhausted or a stop is requested, which ends the output within one block.
// Returns the number of lines handed on.
class FirmwareReadRun {
  public:
    static constexpr std::chrono::milliseconds PauseBetweenBlocks{5};

    FirmwareReadRun(std::istream& image, Clock& clock) : image_(image), clock_(clock) {}

    int run(const std::stop_token& stop, const ModemLog& line);

  private:
    std::istream& image_;
    Clock& clock_;
};

}  // namespace kv820
