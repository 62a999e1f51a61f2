#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTime>
#include <vector>

#include "app/records/report_display.h"
#include "app/records/report_list_view.h"
#include "app/records/report_table_model.h"
#include "app/records/sms_tracking_page.h"
#include "core/reception/sms_session_listener.h"
#include "core/store/database.h"
#include "core/store/gpslog_store.h"
#include "support/qt/recording_services.h"
#include "support/qt/records_database.h"
#include "support/temp_dir.h"

namespace kv820 {

namespace {

PositionReport report(const std::string& receiveTime) {
    GpslogRow row = test::reportAt(test::Truck.imei, receiveTime);
    row[GpsTime] = "18:20:30";  // unlike the receive time: the two fields cannot be swapped
    return test::reportOf(test::Truck, row);
}

StoredReportEvent storedEvent(const PositionReport& report) {
    StoredReportEvent event;
    event.report = report;
    event.historyRange = {test::Truck.imei, "2006/05/1212:00:00", "2008/05/1212:00:00"};
    return event;
}

// The "SMS Tracking" page, the map toggle and a database, as the main window holds them.
struct DisplayRig {
    DisplayRig()
        : path(test::createRecordsDatabase(dir, {})), db(std::make_unique<Database>(path)) {
        view.setCheckable(true);
    }
    ReportTableModel* model() { return page.reportList()->reportModel(); }
    // The panel field as tests and tools find it: by its objectName.
    QString field(const char* name) {
        return page.findChild<QLineEdit*>(QString::fromLatin1(name))->text();
    }

    test::TempDir dir;
    std::string path;
    std::unique_ptr<Database> db;
    test::RecordingServices services;
    QWidget owner;
    SmsTrackingPage page;
    QAction view{QStringLiteral("View Tracking Points")};
    ReportDisplay display{&page, [this] { return db.get(); }, &view, &owner, services.app()};
};

}  // namespace

class ReportDisplayTest : public QObject {
    Q_OBJECT

  private slots:
    void theReportFillsThePanelAndItsTrackersHistoryAndOpensTheMapWhenViewed() {
        DisplayRig rig;
        GpslogStore store(*rig.db);
        store.append(toGpslogRow(report("10:20:30")));
        store.append(toGpslogRow(report("10:25:30")));
        PositionReport other = report("10:26:00");
        other.imei = "359999999999999";
        store.append(toGpslogRow(other));

        rig.display.show(storedEvent(report("10:25:30")));

        const std::vector<std::pair<const char*, const char*>> shown{
            {"userNameEdit", "truck"},
            {"phoneNumberEdit", "0912345678"},
            {"moduleImeiEdit", "354612071234567"},
            {"latitudeEdit", "25.047924"},
            {"longitudeEdit", "121.517081"},
            {"gpsStatusEdit", "3D"},
            {"gpsAltitudeEdit", "12"},
            {"gpsSpeedEdit", "18.5200"},
            {"gpsDirectionEdit", "90"},
            {"gpsDateTimeEdit", "2007/05/12-18:20:30"},
            {"receiveDateTimeEdit", "2007/05/12-10:25:30"}};
        for (const auto& [field, text] : shown) {
            QCOMPARE(rig.field(field), QString::fromLatin1(text));
        }
        QCOMPARE(rig.model()->rowCount(), 2);
        QCOMPARE(rig.model()->data(rig.model()->index(0, 2)).toString(),
                 QStringLiteral("10:25:30"));
        QVERIFY(rig.services.alerts.texts().isEmpty());
        QVERIFY(rig.services.webMap.addresses.isEmpty());  // "View Tracking Points" is not checked
        rig.view.setChecked(true);
        rig.display.show(storedEvent(report("10:21:30")));
        QCOMPARE(rig.services.webMap.addresses.size(), 1);
        QVERIFY(rig.services.webMap.addresses[0].contains(QStringLiteral("25.047924+121.517081")));
    }

    void aHistoryPageThatCannotBeReadWhileScrollingIsReported() {
        DisplayRig rig;
        rig.db->execute("BEGIN");
        for (int second = 0; second <= ReportTableModel::PageSize; ++second) {
            const QString time = QTime(10, 0).addSecs(second).toString(QStringLiteral("HH:mm:ss"));
            GpslogStore(*rig.db).append(toGpslogRow(report(time.toStdString())));
        }
        rig.db->execute("COMMIT");
        rig.display.show(storedEvent(report("10:04:16")));
        QVERIFY(rig.model()->canFetchMore({}));
        Database(rig.path).execute("DROP TABLE gpslog");
        rig.model()->fetchMore({});
        QCOMPARE(rig.services.alerts.texts(),
                 QStringList{QStringLiteral("Track Gpslog Database open failure.")});
        QCOMPARE(rig.services.alerts.messages()[0].owner, &rig.owner);
        QCOMPARE(rig.model()->rowCount(), ReportTableModel::PageSize);
    }

    void failuresOfOneKindShowOneMessageAtATimeAndAreCountedInTheLog() {
        DisplayRig rig;
        QPlainTextEdit log;
        rig.display.setFailureLog(&log);
        rig.view.setChecked(true);
        rig.services.webMap.accept = false;
        rig.db.reset();
        for (const char* time : {"10:20:30", "10:21:30", "10:22:30"}) {
            rig.display.show(storedEvent(report(time)));
        }
        // Nothing waits for the operator: every report is shown meanwhile.
        QCOMPARE(rig.field("receiveDateTimeEdit"), QStringLiteral("2007/05/12-10:22:30"));
        QCOMPARE(rig.services.alerts.texts(),
                 QStringList({"Track Gpslog Database open failure.", "Show Google map is fail."}));
        QCOMPARE(rig.services.alerts.openMessages(), 2);
        QCOMPARE(rig.services.alerts.messages()[0].owner, &rig.owner);
        QCOMPARE(rig.model()->rowCount(), 0);
        QCOMPARE(log.toPlainText().count(QStringLiteral("Show Google map is fail.")), 2);
        QCOMPARE(log.toPlainText().count(QStringLiteral("Track Gpslog Database open failure.")), 2);
        rig.services.alerts.closeOpenMessages();
        rig.display.show(storedEvent(report("10:23:30")));
        QCOMPARE(rig.services.alerts.texts().size(), 4);  // a closed message shows again
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::ReportDisplayTest)
#include "report_display_test.moc"
