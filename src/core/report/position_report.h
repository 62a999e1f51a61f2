#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/report/report_pieces.h"
#include "core/store/gpslog_row.h"
#include "core/store/user_registry.h"

namespace kv820 {

// One decoded position report, every value as the text that is stored and shown.
struct PositionReport {
    // The matched registered tracker; all three empty when none matched.
    std::string imei;
    std::string userName;
    std::string phone;

    std::string receiveDate;    // "YYYY/MM/DD" of the SMS service-centre time stamp
    std::string receiveTime;    // "HH:MM:SS"
    std::string messageStatus;  // "Period report", ... or ""
    std::string gpsStatus;      // "No Fix", "2D", "3D" or ""
    std::string gpsDate;        // local "YYYY/MM/DD"
    std::string gpsTime;        // local "HH:MM:SS"
    std::string gpsPosLon;      // signed decimal degrees, six decimals
    std::string gpsPosLat;
    std::string gpsAltitude;   // as carried
    std::string gpsSpeed;      // km/h, four decimals
    std::string gpsDirection;  // as carried
    std::string gpsNumber;     // as carried

    // The panel's combined texts: date, "-", time.
    std::string gpsMomentText() const { return gpsDate + "-" + gpsTime; }
    std::string receiveMomentText() const { return receiveDate + "-" + receiveTime; }
};

PositionReport decodePositionReport(const ReportPieces& pieces,
                                    const UserRegistry::Snapshot& users);

// The gpslog row of a report, in column order.
GpslogRow toGpslogRow(const PositionReport& report);
// A stored report as it was decoded: its user's name and phone are looked up by its IMEI.
PositionReport fromGpslogRow(const GpslogRow& row, const UserRegistry::Snapshot& users);

// The registered tracker a report comes from: the first of the five slots whose IMEI
// occurs anywhere in the time-stamp piece (which also holds "?" and the report's IMEI).
// A slot without an IMEI never matches: the empty text occurs in every piece and would
// hand every unknown tracker's reports to that slot.
std::optional<UserSlot> findReportOwner(std::string_view imeiPiece,
                                        const UserRegistry::Snapshot& users);

}  // namespace kv820
