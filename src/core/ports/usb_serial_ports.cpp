#include "core/ports/usb_serial_ports.h"

#include <algorithm>

namespace kv820 {

std::vector<std::string> usbSerialPortEntries(const std::vector<SerialPortDescription>& ports,
                                              std::string_view extraPorts, char separator) {
    std::vector<std::string> entries;
    for (const SerialPortDescription& port : ports) {
        if (port.vendorId == BridgeVendorId && port.productId == BridgeProductId) {
            entries.push_back(port.name + ":");
        }
    }
    std::sort(entries.begin(), entries.end());
    while (!extraPorts.empty()) {
        const std::size_t end = extraPorts.find(separator);
        const std::string_view path = extraPorts.substr(0, end);
        if (!path.empty()) {
            entries.push_back(std::string(path) + ":");
        }
        extraPorts =
            end == std::string_view::npos ? std::string_view() : extraPorts.substr(end + 1);
    }
    if (entries.empty()) {
        entries.push_back("NO");
    }
    return entries;
}

}  // namespace kv820
