#include "core/report/position_report.h"

#include <array>

#include "core/report/gps_moment.h"
#include "core/report/report_fields.h"

namespace kv820 {

namespace {

// Where each value sits among the pieces of a read-message reply.
enum ReportPiece : std::size_t {
    StampDatePiece = 3,
    StampTimeAndImeiPiece = 4,
    KindPiece = 5,
    FixPiece = 6,
    GpsDatePiece = 7,
    GpsTimePiece = 8,
    LongitudePiece = 9,
    LatitudePiece = 10,
    AltitudePiece = 11,
    SpeedPiece = 12,
    DirectionPiece = 13,
    SatellitesPiece = 14,
};

}  // namespace

PositionReport decodePositionReport(const ReportPieces& pieces,
                                    const UserRegistry::Snapshot& users) {
    PositionReport report;
    if (const auto owner = findReportOwner(pieces[StampTimeAndImeiPiece], users)) {
        report.imei = owner->imei;
        report.userName = owner->name;
        report.phone = owner->phone;
    }
    report.receiveDate = receiveDateText(pieces[StampDatePiece]);
    report.receiveTime = receiveTimeText(pieces[StampTimeAndImeiPiece]);
    report.messageStatus = reportKindText(pieces[KindPiece]);
    report.gpsStatus = fixText(pieces[FixPiece]);
    GpsMomentText gps = gpsLocalMoment(pieces[GpsDatePiece], pieces[GpsTimePiece]);
    report.gpsDate = std::move(gps.date);
    report.gpsTime = std::move(gps.time);
    report.gpsPosLon = longitudeText(pieces[LongitudePiece]);
    report.gpsPosLat = latitudeText(pieces[LatitudePiece]);
    report.gpsAltitude = pieces[AltitudePiece];
    report.gpsSpeed = speedText(pieces[SpeedPiece]);
    report.gpsDirection = pieces[DirectionPiece];
    report.gpsNumber = pieces[SatellitesPiece];
    return report;
}

namespace {

#define KV820_REPORT_MEMBER(column, sqlName, header, member) &PositionReport::member,
constexpr std::array<std::string PositionReport::*, GpslogColumnCount> RowMembers{
    KV820_GPSLOG_COLUMNS(KV820_REPORT_MEMBER)};
#undef KV820_REPORT_MEMBER

}  // namespace

GpslogRow toGpslogRow(const PositionReport& report) {
    GpslogRow row;
    for (std::size_t c = 0; c < GpslogColumnCount; ++c) {
        row[c] = report.*RowMembers[c];
    }
    return row;
}

PositionReport fromGpslogRow(const GpslogRow& row, const UserRegistry::Snapshot& users) {
    PositionReport report;
    for (std::size_t c = 0; c < GpslogColumnCount; ++c) {
        report.*RowMembers[c] = row[c];
    }
    if (const std::optional<UserSlot> user = users.FindUserByImei(report.imei)) {
        report.userName = user->name;
        report.phone = user->phone;
    }
    return report;
}

std::optional<UserSlot> findReportOwner(std::string_view imeiPiece,
                                        const UserRegistry::Snapshot& users) {
    for (const UserSlot& slot : users.users) {
        if (!slot.imei.empty() && imeiPiece.find(slot.imei) != std::string_view::npos) {
            return slot;
        }
    }
    return std::nullopt;
}

}  // namespace kv820
