#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "app/common/app_context.h"
#include "app/records/record_search.h"
#include "app/records/report_list_view.h"
#include "app/records/report_table_model.h"
#include "app/records/search_records_page.h"
#include "app/records/sms_tracking_page.h"
#include "app/shell/main_window.h"
#include "core/store/database.h"
#include "core/store/gpslog_store.h"
#include "support/qt/recording_services.h"
#include "support/qt/records_database.h"
#include "support/temp_dir.h"

namespace kv820 {

namespace {

// The search page of a main window over a database of two users.
struct SearchWindow : test::WindowRig {
    SearchWindow() : WindowRig({test::Truck, test::Van}) { window.mainTab()->setCurrentIndex(1); }

    void store(const GpslogRow& row) {
        Database db(path);
        GpslogStore(db).append(row);
    }
    SearchRecordsPage& page() { return *window.searchPage(); }
    ReportTableModel& result() { return *page().resultList()->reportModel(); }
    void inquire(int fromHour, int toHour, const QString& user = QStringLiteral("truck")) {
        test::setSearchRange(page(), test::onReportDay(fromHour, 0, 0),
                             test::onReportDay(toHour, 0, 0));
        page().userCombo()->setCurrentText(user);
        QTest::mouseClick(page().inquireButton(), Qt::LeftButton);
    }
    QString cell(int row, int column) { return result().index(row, column).data().toString(); }
};

void doubleClickRow(ReportListView* list, int row) {
    const QRect cell = list->visualRect(list->model()->index(row, 1));
    // A double-click arrives as a click followed by the double-click event.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
}

}  // namespace

class RecordSearchTest : public QObject {
    Q_OBJECT

  private slots:
    void listsTheChosenUsersReportsInTheRange() {
        SearchWindow w;
        for (const char* time : {"09:59:59", "10:00:00", "11:00:00"}) {
            w.store(test::reportAt(test::Truck.imei, time));
        }
        w.store(test::reportAt(test::Van.imei, "11:30:00"));
        w.inquire(10, 12);
        QVERIFY(w.services.alerts.texts().isEmpty());
        QCOMPARE(w.result().rowCount(), 2);
        QCOMPARE(w.cell(0, 0) + " " + w.cell(0, 2), QStringLiteral("truck 11:00:00"));
        QCOMPARE(w.window.recordSearch()->currentSearchImei(), test::Truck.imei);

        w.inquire(11, 12, QStringLiteral("van"));
        QCOMPARE(w.result().rowCount(), 1);
        QCOMPARE(w.cell(0, 0) + " " + w.cell(0, 2), QStringLiteral("van 11:30:00"));
    }

    void aSearchThatCannotRunEmptiesTheResultAndSaysWhy() {
        SearchWindow w;
        w.store(test::reportAt(test::Truck.imei, "11:00:00"));
        w.inquire(10, 12);
        QCOMPARE(w.result().rowCount(), 1);
        const test::AlertRecorder& recorder = w.services.alerts;
        w.page().userCombo()->addItem(QStringLiteral("ghost"));
        w.inquire(10, 12, QStringLiteral("ghost"));
        QCOMPARE(recorder.texts(), QStringList({"No user is choosed."}));
        QCOMPARE(recorder.messages().front().owner, &w.page());
        QCOMPARE(w.result().rowCount(), 0);
        QVERIFY(!w.window.recordSearch()->shownRange());
        QCOMPARE(w.window.recordSearch()->currentSearchImei(), test::Truck.imei);

        Database(w.path).execute("DROP TABLE gpslog");
        w.inquire(10, 12);
        QCOMPARE(recorder.texts().last(), QStringLiteral("Inquire Gpslog Database failure."));
        QCOMPARE(recorder.messages().back().owner, &w.window);
        QCOMPARE(w.result().rowCount(), 0);
    }

    void doubleClickOnEitherListOpensTheRowsPointOrSaysItFailed() {
        SearchWindow w;
        w.store(test::reportAt(test::Truck.imei, "10:30:00", "3D", "-33.868800", "151.209300"));
        w.store(test::reportAt(test::Truck.imei, "11:30:00"));
        test::RecordingWebMapOpener& opener = w.services.webMap;
        w.inquire(10, 12);
        doubleClickRow(w.page().resultList(), 1);
        QCOMPARE(opener.addresses,
                 QStringList({"https://maps.google.com/maps?q=-33.868800+151.209300&h=en&t=h"}));
        QVERIFY(w.services.alerts.texts().isEmpty());

        // The SMS Tracking page's history list behaves the same way.
        opener.accept = false;
        w.window.mainTab()->setCurrentIndex(0);
        ReportListView* tracking = w.window.trackingPage()->reportList();
        tracking->reportModel()->showHistory(
            *w.context.gpslogConnection(),
            {test::Truck.imei, "2006/05/1200:00:00", "2008/05/1200:00:00"},
            QStringLiteral("truck"));
        QTest::qWait(0);
        doubleClickRow(tracking, 0);
        QCOMPARE(opener.addresses.size(), 2);
        QCOMPARE(w.services.alerts.texts(), QStringList({"Open Google map is fail."}));
        QCOMPARE(w.services.alerts.messages().front().owner, &w.window);
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::RecordSearchTest)
#include "record_search_test.moc"
