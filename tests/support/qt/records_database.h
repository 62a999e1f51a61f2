#pragma once

#include <QDateTime>
#include <string>
#include <vector>

#include "app/common/app_context.h"
#include "app/shell/main_window.h"
#include "core/report/position_report.h"
#include "core/store/gpslog_row.h"
#include "core/store/user_registry.h"
#include "support/qt/recording_services.h"
#include "support/temp_dir.h"

namespace kv820 {
class SearchRecordsPage;
}

namespace kv820::test {

inline const UserSlot Truck{"truck", "0912345678", "354612071234567"};
inline const UserSlot Van{"van", "0922333444", "354612079876543"};
inline const UserSlot Bike{"bike", "0933555666", "354612070000001"};

// A fresh database file in `dir` holding `users` in this order; returns its path.
std::string createRecordsDatabase(const TempDir& dir, const std::vector<UserSlot>& users);

// A complete report of `imei` received on 2007/05/12 at `time`.
GpslogRow reportAt(const std::string& imei, const std::string& time,
                   const std::string& status = "3D", const std::string& lat = "25.047924",
                   const std::string& lon = "121.517081");

// The report the session announces when it stored `row` of the registered `user`.
PositionReport reportOf(const UserSlot& user, const GpslogRow& row);

// Sets the four pickers of the search page.
void setSearchRange(SearchRecordsPage& page, const QDateTime& start, const QDateTime& stop);

// 2007/05/12 at the given time, as the pickers take it.
QDateTime onReportDay(int hour, int minute, int second);

// The main window over a fresh database holding `users`, on recording services: every
// message, web map and Save As dialog goes to `services`.
struct WindowRig {
    explicit WindowRig(const std::vector<UserSlot>& users = {Truck})
        : path(createRecordsDatabase(dir, users)), context(path, services.app()), window(context) {
        window.show();
    }

    TempDir dir;
    RecordingServices services;
    std::string path;
    AppContext context;
    MainWindow window;
};

}  // namespace kv820::test
