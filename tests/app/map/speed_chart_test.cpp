// The speed chart under the map and a trip chosen in the trips table, in a real web view
// (Chromium, offscreen): what the page draws is read back from its own script state. No
// tile server answers, so the page runs as it does offline.
#include <QApplication>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "app/map/map_page.h"
#include "app/map/map_settings.h"
#include "app/map/web_engine_setup.h"
#include "app/records/search_records_page.h"
#include "app/shell/main_window.h"
#include "app/trips/track_reports.h"
#include "core/common/number_text.h"
#include "core/trips/track_analysis.h"
#include "support/qt/records_database.h"
#include "support/qt/settings_folder.h"
#include "support/qt/three_drives.h"
#include "support/qt/web_page_script.h"

namespace kv820 {

using test::PageWaitMs;

class SpeedChartTest : public QObject {
    Q_OBJECT

  private:
    test::TempDir dir_;
    test::RecordingServices services_;
    std::vector<PositionReport> reports_;
    std::unique_ptr<AppContext> context_;
    std::unique_ptr<MainWindow> window_;

    MapPage* page() { return window_->mapPage(); }
    TrackReports* reports() { return window_->trackReports(); }
    QTableView* trips() { return window_->findChild<QTableView*>(QStringLiteral("tripsTable")); }

    QVariant run(const QString& script) { return test::runScript(*page()->view()->page(), script); }
    QJsonObject stateOf(const char* call) {
        return test::scriptState(*page()->view()->page(), QLatin1String(call));
    }
    bool drawn(const char* call, const std::function<bool(const QJsonObject&)>& done) {
        return test::waitForState(*page()->view()->page(), QLatin1String(call), done);
    }

  private slots:
    void initTestCase() {
        test::keepSettingsIn(QString::fromStdString(dir_.file("settings")));
        const std::string path = test::createRecordsDatabase(dir_, {test::Truck});
        reports_ = test::storeThreeDrives(path, test::Truck.imei);
        MapSettings::setTileSource(
            {QStringLiteral("http://127.0.0.1:9/{z}/{x}/{y}.png"), QStringLiteral("no tiles")});
        context_ = std::make_unique<AppContext>(path, services_.app());
        window_ = std::make_unique<MainWindow>(*context_);
        window_->resize(1366, 768);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));

        SearchRecordsPage& search = *window_->searchPage();
        test::setSearchRange(search, test::onReportDay(0, 0, 0), test::onReportDay(23, 59, 59));
        search.userCombo()->setCurrentIndex(0);
        search.inquireButton()->click();
        QVERIFY(QTest::qWaitFor([&] { return reports()->analysis() != nullptr; }, PageWaitMs));
        window_->mainTab()->setCurrentWidget(page());
        QVERIFY(QTest::qWaitFor([&] { return page()->pageLoaded(); }, PageWaitMs));
    }

    // Every report of the day is a point of the chart (far fewer than the chart's bound),
    // and the point under the pointer is marked on the map, in view.
    void theChartShowsTheRangeAndItsHoveredPointOnTheMap() {
        const int points = static_cast<int>(reports_.size());
        QVERIFY(drawn("kv820Chart.state()", [&](const QJsonObject& s) {
            return s[QStringLiteral("visible")].toBool() &&
                   s[QStringLiteral("points")].toInt() == points;
        }));
        QVERIFY(stateOf("kv820Chart.state()")[QStringLiteral("height")].toInt() >= 150);
        for (const int index : {points / 2, points - 5}) {
            run(QStringLiteral("(function () { const at = kv820Chart.clientPointOf(%1);"
                               "document.getElementById('chartCanvas').dispatchEvent(new "
                               "MouseEvent('mousemove', { clientX: at[0], clientY: at[1], "
                               "bubbles: true })); })()")
                    .arg(index));
            const PositionReport& report = reports_[static_cast<std::size_t>(index)];
            QVERIFY(drawn("kv820Map.tripState()", [&](const QJsonObject& s) {
                const QJsonArray at = s[QStringLiteral("point")].toArray();
                return at.size() == 2 &&
                       std::abs(at[0].toDouble() - leadingDecimal(report.gpsPosLat)) < 1e-6 &&
                       std::abs(at[1].toDouble() - leadingDecimal(report.gpsPosLon)) < 1e-6 &&
                       s[QStringLiteral("pointInView")].toBool();
            }));
            QCOMPARE(stateOf("kv820Chart.state()")[QStringLiteral("hovered")].toInt(), index);
        }
    }

    // Enter and Ctrl+M on a row of the trips table draw that trip on the map, which comes to
    // the front with its view fitted to the trip.
    void aChosenTripIsDrawnOnTheMapAndFitted() {
        const TrackAnalysis& analysis = *reports()->analysis();
        const struct {
            int trip;
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
        } cases[] = {{1, Qt::Key_Return, {}}, {2, Qt::Key_M, Qt::ControlModifier}};
        for (const auto& [trip, key, modifiers] : cases) {
            window_->mainTab()->setCurrentIndex(1);
            window_->searchPage()->resultTabs()->setCurrentIndex(1);
            window_->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window_.get()));
            trips()->setFocus();
            trips()->setCurrentIndex(trips()->model()->index(trip, 0));
            QTest::keyClick(trips(), key, modifiers);
            QCOMPARE(window_->mainTab()->currentWidget(), page());
            const int fixes =
                static_cast<int>(fixesOfTrip(analysis.fixes, analysis.summary.trips[trip]).size());
            QVERIFY(drawn("kv820Map.tripState()", [&](const QJsonObject& s) {
                return s[QStringLiteral("tripPoints")].toInt() == fixes &&
                       s[QStringLiteral("tripInView")].toBool();
            }));
            // Fitted: the trip fills much of the view, not a corner of the day's track.
            const QJsonObject s = stateOf("kv820Map.tripState()");
            const QJsonArray tripBox = s[QStringLiteral("tripBounds")].toArray();
            const QJsonArray view = s[QStringLiteral("bounds")].toArray();
            const double tripSpan = std::max(tripBox[2].toDouble() - tripBox[0].toDouble(),
                                             tripBox[3].toDouble() - tripBox[1].toDouble());
            const double viewSpan = std::min(view[2].toDouble() - view[0].toDouble(),
                                             view[3].toDouble() - view[1].toDouble());
            QVERIFY2(viewSpan < 3 * tripSpan, qPrintable(QString::number(viewSpan / tripSpan)));
        }
        QVERIFY(services_.alerts.texts().isEmpty());
    }

    void cleanupTestCase() {
        window_.reset();
        context_.reset();
    }
};

}  // namespace kv820

KV820_WEB_PAGE_TEST_MAIN(kv820::SpeedChartTest)

#include "speed_chart_test.moc"
