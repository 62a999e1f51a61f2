#include "core/setup/setup_context.h"

namespace kv820 {

std::string simPinToWrite(const SetupContext& context) {
    if (!context.simPin.empty()) {
        return context.simPin;
    }
    if (!context.trackerSimPin.empty()) {
        return context.trackerSimPin;
    }
    return std::string(DefaultSimPin);
}

}  // namespace kv820
