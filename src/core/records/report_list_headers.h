#pragma once

#include <array>
#include <string_view>

#include "core/store/gpslog_row.h"

namespace kv820 {

// Column headers of the record lists, in list order: the user name, then the twelve
// report columns. The CSV export repeats them as its header row.
#define KV820_LIST_HEADER(column, sqlName, header, member) header,
inline constexpr std::array<std::string_view, GpslogColumnCount> ReportListHeaders{
    KV820_GPSLOG_COLUMNS(KV820_LIST_HEADER)};
#undef KV820_LIST_HEADER

}  // namespace kv820
