// Any read-message reply through the cut into pieces, the report decoding and its gpslog row.

#include "core/report/position_report.h"
#include "core/report/report_pieces.h"
#include "core/store/gpslog_row.h"
#include "core/store/user_registry.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A zone with daylight saving, so the local-time conversion meets its gaps and overlaps.
    setenv("TZ", "Europe/Berlin", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const kv820::UserRegistry::Snapshot users = [] {
        kv820::UserRegistry registry;
        registry.replace({{"Truck 1", "0912345678", "356789012345678"},
                          {"OKAY", "+886900000000", "356789012345679"}});
        return registry.snapshot();
    }();
    const std::string_view reply(reinterpret_cast<const char*>(data), size);

    const kv820::ReportPieces pieces = kv820::splitReportPieces(reply);
    static_assert(kv820::ReportPieces::Count == 16);
    for (const std::string& piece : pieces.pieces) {
        FUZZ_CHECK(piece.size() <= kv820::ReportPieces::MaxPieceLength);
        FUZZ_CHECK(piece.find(',') == std::string::npos);
        FUZZ_CHECK(piece.find('!') == std::string::npos);
    }
    FUZZ_CHECK(pieces.hasEndMark == (reply.find('!') != std::string_view::npos));

    const kv820::PositionReport report = kv820::decodePositionReport(pieces, users);
    const kv820::GpslogRow row = kv820::toGpslogRow(report);

    // The owner is a registered tracker or nobody; the texts have their fixed shapes.
    FUZZ_CHECK(row[kv820::Imei].empty() || row[kv820::Imei] == users.users[0].imei ||
               row[kv820::Imei] == users.users[1].imei);
    FUZZ_CHECK(row[kv820::ReceiveDate].starts_with("20"));
    FUZZ_CHECK(row[kv820::ReceiveDate].size() <= 2 + kv820::ReportPieces::MaxPieceLength);
    FUZZ_CHECK(row[kv820::ReceiveTime].size() <= 8);
    FUZZ_CHECK(!row[kv820::GpsDate].empty() && row[kv820::GpsDate].size() < 80);
    FUZZ_CHECK(!row[kv820::GpsTime].empty() && row[kv820::GpsTime].size() < 80);
    for (kv820::GpslogColumn column : {kv820::GpsPosLat, kv820::GpsPosLon, kv820::GpsSpeed}) {
        const std::string& number = row[column];
        FUZZ_CHECK(!number.empty() && number.size() < 400);
        FUZZ_CHECK(number.find_first_not_of("-0123456789.") == std::string::npos);
        FUZZ_CHECK(number.find('-', 1) == std::string::npos);
    }
    for (const std::string& column : row) {
        FUZZ_CHECK(column.find(',') == std::string::npos);
    }
    return 0;
}
