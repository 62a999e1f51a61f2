#pragma once

#include <functional>
#include <memory>

#include "app/ports/qt_serial_link.h"
#include "core/at/serial_link.h"
#include "core/common/clock.h"

namespace kv820 {

// Where a port worker's conversations (the SMS session's, the setup's) get their serial
// line and their time. The program uses the real port and the system clock; tests put a
// scripted line or a virtual clock here.
// Both factories are called on the thread that then owns what they make.
struct PortDevices {
    std::function<std::unique_ptr<SerialLink>()> makeLink = makeSerialLink;
    std::function<std::unique_ptr<Clock>()> makeClock = [] {
        return std::make_unique<SystemClock>();
    };
};

}  // namespace kv820
