#include "core/map/web_map_address.h"

namespace kv820 {

std::string webMapAddress(std::string_view longitude, std::string_view latitude) {
    std::string address(WebMapBaseAddress);
    address.append("/maps?q=").append(latitude).append("+").append(longitude);
    address.append("&h=en&t=h");
    return address;
}

}  // namespace kv820
