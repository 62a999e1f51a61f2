#include "core/ports/break_pulse.h"

#include "core/at/com_port.h"

namespace kv820 {

void PulseBreakOnListedPorts(const std::vector<std::string>& entries,
                             const std::function<std::unique_ptr<SerialLink>()>& makeLink) {
    for (const std::string& entry : entries) {
        const std::string name = portNameFromEntry(entry);
        if (name.empty() || name == "NO") {
            continue;
        }
        std::unique_ptr<SerialLink> link = makeLink();
        if (link->open(name)) {
            link->pulseBreak();
            link->close();
        }
    }
}

}  // namespace kv820
