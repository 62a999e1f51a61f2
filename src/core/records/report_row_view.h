#pragma once

#include <array>
#include <string_view>

#include "core/report/report_kinds.h"
#include "core/store/gpslog_row.h"

namespace kv820 {

// The texts of one stored report as the record lists and exports read them. The views
// belong to whoever hands the row out and stay valid only for the call that receives the row.
struct ReportRowView {
    std::string_view receiveDate;
    std::string_view receiveTime;
    std::string_view gpsPosLat;
    std::string_view gpsPosLon;
    std::string_view gpsDate;
    std::string_view gpsTime;
    std::string_view gpsStatus;
    std::string_view gpsAltitude;
    std::string_view gpsSpeed;
    std::string_view gpsDirection;
    std::string_view gpsNumber;
    std::string_view messageStatus;
    // Last, so that a row written out in list order leaves it empty: the lists show the
    // user name in its place.
    std::string_view imei;
};

// The member that holds each gpslog column, in table order.
#define KV820_REPORT_ROW_VIEW_MEMBER(column, sqlName, header, member) &ReportRowView::member,
inline constexpr std::array<std::string_view ReportRowView::*, GpslogColumnCount>
    ReportRowViewMembers{KV820_GPSLOG_COLUMNS(KV820_REPORT_ROW_VIEW_MEMBER)};
#undef KV820_REPORT_ROW_VIEW_MEMBER

// True when the report has a fix, whatever its position texts say.
inline bool hasFix(const ReportRowView& row) {
    return row.gpsStatus != NoFixText;
}

// A report is drawn on a track unless its position is missing ("NO" as latitude or
// longitude) or it has no fix ("No Fix"); the comparisons are exact.
inline bool isTrackPoint(const ReportRowView& row) {
    return row.gpsPosLat != "NO" && row.gpsPosLon != "NO" && hasFix(row);
}

}  // namespace kv820
