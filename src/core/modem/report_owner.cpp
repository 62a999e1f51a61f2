#include "core/modem/report_owner.h"

namespace kv820 {

std::optional<UserSlot> FindReportOwner(std::string_view imeiPiece,
                                        const UserRegistry::Snapshot& users) {
    for (const UserSlot& slot : users.users) {
        if (!slot.imei.empty() && imeiPiece.find(slot.imei) != std::string_view::npos) {
            return slot;
        }
    }
    return std::nullopt;
}

}  // namespace kv820
