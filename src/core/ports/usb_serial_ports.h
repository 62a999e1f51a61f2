#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv820 {

// A serial port as the system describes it.
struct SerialPortDescription {
    std::string name;  // "ttyUSB0", "COM3"
    std::optional<std::uint16_t> vendorId;
    std::optional<std::uint16_t> productId;
};

// The USB-to-serial bridge of the modem and of the trackers' cable.
inline constexpr std::uint16_t BridgeVendorId = 0x067B;
inline constexpr std::uint16_t BridgeProductId = 0x2303;

// The entries of a "COM Port :" list: the bridge's ports as "name:" in string order
// (COM10 before COM3), then the ports named in `extraPorts` (KV820_EXTRA_PORTS, paths
// separated by `separator`) in their given order; the single entry "NO" when there are none.
std::vector<std::string> usbSerialPortEntries(const std::vector<SerialPortDescription>& ports,
                                              std::string_view extraPorts, char separator);

}  // namespace kv820
