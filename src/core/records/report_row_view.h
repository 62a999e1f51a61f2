#pragma once

#include <string_view>

#include "core/modem/report_kinds.h"

namespace kv820 {

// The twelve texts of one stored report as the record lists show them (every column of
// gpslog but imei). The views belong to whoever hands the row out and stay valid only for
// the call that receives the row.
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
};

// True when the report has a fix, whatever its position texts say.
inline bool HasFix(const ReportRowView& row) {
    return row.gpsStatus != NoFixText;
}

// A report is drawn on a track unless its position is missing ("NO" as latitude or
// longitude) or it has no fix ("No Fix"); the comparisons are exact.
inline bool IsTrackPoint(const ReportRowView& row) {
    return row.gpsPosLat != "NO" && row.gpsPosLon != "NO" && HasFix(row);
}

}  // namespace kv820
