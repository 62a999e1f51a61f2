#pragma once

#include <optional>
#include <string_view>

#include "core/store/user_registry.h"

namespace kv820 {

// The registered tracker a report comes from: the first of the five slots whose IMEI
// occurs anywhere in the time-stamp piece (which also holds "?" and the report's IMEI).
// A slot without an IMEI never matches: the empty text occurs in every piece and would
// hand every unknown tracker's reports to that slot.
std::optional<UserSlot> FindReportOwner(std::string_view imeiPiece,
                                        const UserRegistry::Snapshot& users);

}  // namespace kv820
