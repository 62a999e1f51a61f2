#include "support/qt/records_database.h"

#include <QDateEdit>
#include <QTimeEdit>

#include "app/records/search_records_page.h"
#include "core/store/database.h"
#include "core/store/schema.h"
#include "core/store/user_store.h"

namespace kv820::test {

std::string createRecordsDatabase(const TempDir& dir, const std::vector<UserSlot>& users) {
    const std::string path = dir.file(DatabaseFileName);
    createDatabase(path);
    Database db(path);
    for (const UserSlot& user : users) {
        UserStore(db).addOrUpdate(user);
    }
    return path;
}

GpslogRow reportAt(const std::string& imei, const std::string& time, const std::string& status,
                   const std::string& lat, const std::string& lon) {
    return {imei,   "2007/05/12", time,      lat,  lon, "2007/05/12",   time,
            status, "12",         "18.5200", "90", "7", "Period report"};
}

PositionReport reportOf(const UserSlot& user, const GpslogRow& row) {
    PositionReport report;
    report.imei = user.imei;
    report.userName = user.name;
    report.phone = user.phone;
    report.receiveDate = row[ReceiveDate];
    report.receiveTime = row[ReceiveTime];
    report.messageStatus = row[MessageStatus];
    report.gpsStatus = row[GpsStatus];
    report.gpsDate = row[GpsDate];
    report.gpsTime = row[GpsTime];
    report.gpsPosLon = row[GpsPosLon];
    report.gpsPosLat = row[GpsPosLat];
    report.gpsAltitude = row[GpsAltitude];
    report.gpsSpeed = row[GpsSpeed];
    report.gpsDirection = row[GpsDirection];
    report.gpsNumber = row[GpsNumber];
    return report;
}

void setSearchRange(SearchRecordsPage& page, const QDateTime& start, const QDateTime& stop) {
    page.startDate()->setDate(start.date());
    page.startTime()->setTime(start.time());
    page.stopDate()->setDate(stop.date());
    page.stopTime()->setTime(stop.time());
}

QDateTime onReportDay(int hour, int minute, int second) {
    return QDateTime(QDate(2007, 5, 12), QTime(hour, minute, second));
}

}  // namespace kv820::test
