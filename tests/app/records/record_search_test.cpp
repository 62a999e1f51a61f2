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
#include "app/records/web_map_opener.h"
#include "app/shell/main_window.h"
#include "core/store/database.h"
#include "core/store/gpslog_store.h"
#include "support/qt/alert_recorder.h"
#include "support/qt/records_database.h"
#include "support/temp_dir.h"

namespace kv820 {

namespace {

// Takes every address instead of starting a browser, and answers as told.
class RecordingOpener final : public WebMapOpener {
  public:
    RecordingOpener() { installWebMapOpener(this); }
    ~RecordingOpener() override { installWebMapOpener(nullptr); }
    bool open(const QUrl& address) override {
        addresses << address.toString();
        return accept;
    }
    QStringList addresses;
    bool accept = true;
};

// One search page in a main window over a database of two users.
struct SearchWindow {
    SearchWindow() : path(test::CreateRecordsDatabase(dir, {test::Truck, test::Van})) {}

    void open() {
        context = std::make_unique<AppContext>(path);
        window = std::make_unique<MainWindow>(*context);
        window->mainTab()->setCurrentIndex(1);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void store(const GpslogRow& row) {
        Database db(path);
        GpslogStore(db).append(row);
    }
    SearchRecordsPage& page() { return *window->searchPage(); }
    ReportTableModel& result() { return *page().resultList()->reportModel(); }
    void inquire(int fromHour, int toHour, const QString& user = QStringLiteral("truck")) {
        test::SetSearchRange(page(), test::OnReportDay(fromHour, 0, 0),
                             test::OnReportDay(toHour, 0, 0));
        page().userCombo()->setCurrentText(user);
        QTest::mouseClick(page().inquireButton(), Qt::LeftButton);
    }
    QStringList receiveTimes() {
        QStringList times;
        for (int r = 0; r < result().rowCount(); ++r) {
            times << result().index(r, 2).data().toString();
        }
        return times;
    }

    test::TempDir dir;
    std::string path;
    std::unique_ptr<AppContext> context;
    std::unique_ptr<MainWindow> window;
};

void DoubleClickRow(ReportListView* list, int row) {
    const QRect cell = list->visualRect(list->model()->index(row, 1));
    // A double-click arrives as a click followed by the double-click event.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
}

}  // namespace

class RecordSearchTest : public QObject {
    Q_OBJECT

  private slots:
    void listsTheRangeWithBothEndsIncludedNewestFirst() {
        SearchWindow w;
        for (const char* time : {"09:59:59", "10:00:00", "11:00:00", "12:00:00", "12:00:01"}) {
            w.store(test::ReportAt(test::Truck.imei, time));
        }
        w.store(test::ReportAt(test::Van.imei, "11:30:00"));
        w.open();
        test::AlertRecorder recorder;
        w.inquire(10, 12);
        QVERIFY(recorder.texts().isEmpty());
        QCOMPARE(w.receiveTimes(), QStringList({"12:00:00", "11:00:00", "10:00:00"}));
        QCOMPARE(w.result().index(0, 0).data().toString(), QStringLiteral("truck"));
        QCOMPARE(w.window->recordSearch()->currentSearchImei(), test::Truck.imei);

        w.inquire(11, 12, QStringLiteral("van"));
        QCOMPARE(w.receiveTimes(), QStringList({"11:30:00"}));
        QCOMPARE(w.result().index(0, 0).data().toString(), QStringLiteral("van"));
    }

    void noUsersEmptiesTheListAndSaysNoUserIsChoosed() {
        test::TempDir dir;
        const std::string path = test::CreateRecordsDatabase(dir, {});
        AppContext context(path);
        MainWindow window(context);
        test::AlertRecorder recorder;
        SearchRecordsPage& page = *window.searchPage();
        test::SetSearchRange(page, test::OnReportDay(1, 2, 3), test::OnReportDay(4, 5, 6));
        QTest::mouseClick(page.inquireButton(), Qt::LeftButton);
        QCOMPARE(recorder.texts(), QStringList({"No user is choosed."}));
        QCOMPARE(recorder.messages().front().owner, &page);
        QCOMPARE(page.resultList()->reportModel()->rowCount(), 0);
    }

    void aNameNoUserHasSearchesNothing() {
        SearchWindow w;
        w.store(test::ReportAt(test::Truck.imei, "11:00:00"));
        w.open();
        w.inquire(10, 12);
        QCOMPARE(w.result().rowCount(), 1);
        test::AlertRecorder recorder;
        w.page().userCombo()->addItem(QStringLiteral("ghost"));
        w.inquire(10, 12, QStringLiteral("ghost"));
        QCOMPARE(recorder.texts(), QStringList({"No user is choosed."}));
        QCOMPARE(w.result().rowCount(), 0);
        QVERIFY(!w.window->recordSearch()->shownRange());
        QCOMPARE(w.window->recordSearch()->currentSearchImei(), test::Truck.imei);
    }

    void aDatabaseFailureIsReportedByTheMainWindow() {
        SearchWindow w;
        w.open();
        {
            Database db(w.path);
            db.execute("DROP TABLE gpslog");
        }
        test::AlertRecorder recorder;
        w.inquire(10, 12);
        QCOMPARE(recorder.texts(), QStringList({"Inquire Gpslog Database failure."}));
        QCOMPARE(recorder.messages().front().owner, w.window.get());
        QCOMPARE(w.result().rowCount(), 0);
    }

    void doubleClickOpensTheRowsPointLatitudeFirst() {
        SearchWindow w;
        w.store(test::ReportAt(test::Truck.imei, "10:30:00", "3D", "-33.868800", "151.209300"));
        w.store(test::ReportAt(test::Truck.imei, "11:30:00", "3D", "25.047924", "121.517081"));
        w.open();
        RecordingOpener opener;
        test::AlertRecorder recorder;
        w.inquire(10, 12);
        DoubleClickRow(w.page().resultList(), 1);
        DoubleClickRow(w.page().resultList(), 0);
        QCOMPARE(opener.addresses,
                 QStringList({"https://maps.google.com/maps?q=-33.868800+151.209300&h=en&t=h",
                              "https://maps.google.com/maps?q=25.047924+121.517081&h=en&t=h"}));
        QVERIFY(recorder.texts().isEmpty());
    }

    void aFailingMapOnEitherListSaysOpenGoogleMapIsFail() {
        SearchWindow w;
        w.store(test::ReportAt(test::Truck.imei, "10:30:00"));
        w.open();
        RecordingOpener opener;
        opener.accept = false;
        test::AlertRecorder recorder;
        w.inquire(10, 12);
        DoubleClickRow(w.page().resultList(), 0);

        // The SMS Tracking page's history list behaves the same way.
        w.window->mainTab()->setCurrentIndex(0);
        ReportListView* tracking = w.window->trackingPage()->reportList();
        tracking->reportModel()->showHistory(
            *w.context->gpslogConnection(),
            {test::Truck.imei, "2006/05/1200:00:00", "2008/05/1200:00:00"},
            QStringLiteral("truck"));
        QTest::qWait(0);
        DoubleClickRow(tracking, 0);

        QCOMPARE(opener.addresses.size(), 2);
        QCOMPARE(opener.addresses.at(1),
                 QStringLiteral("https://maps.google.com/maps?q=25.047924+121.517081&h=en&t=h"));
        QCOMPARE(recorder.texts(),
                 QStringList({"Open Google map is fail.", "Open Google map is fail."}));
        for (const auto& m : recorder.messages()) {
            QCOMPARE(m.owner, w.window.get());
        }
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::RecordSearchTest)
#include "record_search_test.moc"
