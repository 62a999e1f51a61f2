#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// The columns of one stored position report, one line each, in table order:
//   X(enumerator, SQL name, list header, member)
// Every column is TEXT. The list headers are the original program's texts, misspellings
// included; the lists and the CSV export show the user name in the imei column's place.
// The schema, the gpslog statements, the lists, the CSV export and the decoded report's row
// are all expanded from this one table, so that a new column is one line here (and its
// member in the two records). The decoded report (PositionReport) and the stored one as
// the lists read it (ReportRowView) name each value by the same member. It is a macro
// because the store must not include the decoder's and the lists' types, yet a column's
// line names their member too: each layer expands only the arguments it knows.
#define KV820_GPSLOG_COLUMNS(X)                                     \
    X(Imei, "imei", "User Name", imei)                              \
    X(ReceiveDate, "receive_date", "Receive_Date", receiveDate)     \
    X(ReceiveTime, "receive_time", "Receive_Time", receiveTime)     \
    X(GpsPosLat, "gps_pos_lat", "GPS_Latitude", gpsPosLat)          \
    X(GpsPosLon, "gps_pos_lon", "GPS_Longitude", gpsPosLon)         \
    X(GpsDate, "gps_date", "GPS_Date", gpsDate)                     \
    X(GpsTime, "gps_time", "GPS_Time", gpsTime)                     \
    X(GpsStatus, "gps_status", "GPS_Status", gpsStatus)             \
    X(GpsAltitude, "gps_altitude", "GPS_Altitude(m)", gpsAltitude)  \
    X(GpsSpeed, "gps_speed", "GPS_Speed(km)", gpsSpeed)             \
    X(GpsDirection, "gps_direction", "GPS_Direciton", gpsDirection) \
    X(GpsNumber, "gps_number", "GPS_Number_Satellite", gpsNumber)   \
    X(MessageStatus, "message_status", "Message_Status", messageStatus)

namespace kv820 {

#define KV820_GPSLOG_ENUMERATOR(column, sqlName, header, member) column,
enum GpslogColumn : std::size_t { KV820_GPSLOG_COLUMNS(KV820_GPSLOG_ENUMERATOR) GpslogColumnCount };
#undef KV820_GPSLOG_ENUMERATOR

#define KV820_GPSLOG_SQL_NAME(column, sqlName, header, member) sqlName,
inline constexpr std::array<const char*, GpslogColumnCount> GpslogColumnNames = {
    KV820_GPSLOG_COLUMNS(KV820_GPSLOG_SQL_NAME)};
#undef KV820_GPSLOG_SQL_NAME

using GpslogRow = std::array<std::string, GpslogColumnCount>;
// A row's texts where the statement holds them, for reading a range without copying.
using GpslogRowView = std::array<std::string_view, GpslogColumnCount>;

}  // namespace kv820
