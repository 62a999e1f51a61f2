// The map page in a real web view (Chromium, offscreen): what it draws is read back from
// the page's own script state. The tile server is a closed local port, so no test touches
// the network and the page runs as it does offline.
#include <QApplication>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <tuple>

#include "app/alarms/fence_dialog.h"
#include "app/alarms/sos_alarms.h"
#include "app/common/app_context.h"
#include "app/map/map_page.h"
#include "app/map/map_settings.h"
#include "app/map/web_engine_setup.h"
#include "app/reception/sms_session.h"
#include "app/records/search_records_page.h"
#include "app/shell/main_window.h"
#include "app/users/delete_user.h"
#include "core/alarms/alarm_store.h"
#include "core/report/report_kinds.h"
#include "core/store/database.h"
#include "core/store/gpslog_store.h"
#include "support/qt/recording_services.h"
#include "support/qt/records_database.h"
#include "support/qt/settings_folder.h"
#include "support/qt/web_page_script.h"
#include "support/temp_dir.h"

namespace kv820 {

using test::PageWaitMs;

// Every marker of the page's `state` lies inside the view, a tenth of the view's span from
// its edges, and shows its whole name.
bool fleetFitted(const QJsonObject& state, int markerCount) {
    const QJsonArray markers = state[QStringLiteral("markers")].toArray();
    const QJsonArray view = state[QStringLiteral("bounds")].toArray();
    const QJsonArray size = state[QStringLiteral("size")].toArray();
    const double south = view[0].toDouble(), west = view[1].toDouble();
    const double north = view[2].toDouble(), east = view[3].toDouble();
    const double latMargin = (north - south) / 10, lonMargin = (east - west) / 10;
    bool fitted = markers.size() == markerCount;
    for (const QJsonValue& marker : markers) {
        const double lat = marker[QStringLiteral("lat")].toDouble();
        const double lon = marker[QStringLiteral("lon")].toDouble();
        const QJsonArray name = marker[QStringLiteral("name")].toArray();
        fitted = fitted && lat > south + latMargin && lat < north - latMargin &&
                 lon > west + lonMargin && lon < east - lonMargin && name.size() == 4 &&
                 name[0].toDouble() >= 0 && name[1].toDouble() >= 0 &&
                 name[2].toDouble() <= size[0].toDouble() &&
                 name[3].toDouble() <= size[1].toDouble();
    }
    return fitted;
}

class MapPageTest : public QObject {
    Q_OBJECT

  private:
    // The page's state as its script reports it.
    QJsonObject state() {
        return test::scriptState(*page()->view()->page(), QStringLiteral("kv820Map.state()"));
    }
    QJsonObject markerOf(const QJsonObject& state, const UserSlot& user) {
        for (const QJsonValue& marker : state[QStringLiteral("markers")].toArray()) {
            if (marker[QStringLiteral("imei")].toString().toStdString() == user.imei) {
                return marker.toObject();
            }
        }
        return {};
    }
    // Waits (bounded) until the page has drawn what `done` looks for.
    bool drawn(const std::function<bool(const QJsonObject&)>& done) {
        return test::waitForState(*page()->view()->page(), QStringLiteral("kv820Map.state()"),
                                  done);
    }
    // Stores `row` and announces it as the SMS session does.
    void store(const UserSlot& user, const GpslogRow& row) {
        Database db(path_);
        GpslogStore(db).append(row);
        StoredReportEvent event;
        event.report = test::reportOf(user, row);
        event.historyRange = {user.imei, "2007/05/1200:00:00", "2007/05/1223:59:59"};
        emit window_->smsSession()->reportReceived(event);
    }
    static int updatesOf(const QJsonObject& marker) {
        return marker[QStringLiteral("updates")].toInt();
    }
    MapPage* page() { return window_->mapPage(); }
    QVariant run(const QString& script) { return test::runScript(*page()->view()->page(), script); }
    // The operator's mouse on the map: each step is an event at a place given as fractions
    // of the view (0,0 south-west), dispatched where Leaflet listens for it.
    void mouseOnMap(const std::vector<std::tuple<const char*, double, double>>& steps) {
        QString script = QStringLiteral(
            "(function () { const map = document.getElementById('map');"
            "const b = kv820Map.state().bounds;");
        for (const auto& [type, x, y] : steps) {
            script += QStringLiteral(
                          "{ const at = kv820Map.clientPointOf(b[0] + %2 * (b[2] - b[0]),"
                          " b[1] + %1 * (b[3] - b[1]));"
                          "map.dispatchEvent(new MouseEvent('%3', { clientX: at[0], clientY: "
                          "at[1], bubbles: true, cancelable: true, button: 0 })); }")
                          .arg(x)
                          .arg(y)
                          .arg(QLatin1String(type));
        }
        run(script + QStringLiteral("})()"));
    }
    // Names the shape just drawn in the dialog the program opens for it.
    void nameDrawnFence(const QString& name) {
        FenceDialog* dialog = nullptr;
        QVERIFY(QTest::qWaitFor(
            [&] {
                dialog = window_->findChild<FenceDialog*>(QStringLiteral("fenceDialog"));
                return dialog != nullptr && dialog->isVisible();
            },
            PageWaitMs));
        dialog->nameEdit()->setText(name);
        dialog->accept();
    }
    std::vector<Geofence> storedFences() {
        Database db(path_);
        return AlarmStore::hasTables(db) ? AlarmStore(db).geofences() : std::vector<Geofence>{};
    }
    // The place at fractions of the view, as the page has it now.
    GeoPoint placeAt(double x, double y) {
        const QJsonArray b = state()[QStringLiteral("bounds")].toArray();
        return {b[0].toDouble() + y * (b[2].toDouble() - b[0].toDouble()),
                b[1].toDouble() + x * (b[3].toDouble() - b[1].toDouble())};
    }

    test::TempDir dir_;
    std::string path_;
    test::RecordingServices services_;
    std::unique_ptr<AppContext> context_;
    std::unique_ptr<MainWindow> window_;

  private slots:
    void initTestCase() {
        // No view saved: a first start.
        test::keepSettingsIn(QString::fromStdString(dir_.file("settings")));
        path_ = test::createRecordsDatabase(dir_, {test::Truck, test::Van});
        {
            Database db(path_);
            for (const auto& [user, time, fix, lat, lon] :
                 {std::tuple{test::Truck, "10:00:00", "3D", "25.010000", "121.500000"},
                  {test::Truck, "10:05:00", "3D", "25.020000", "121.510000"},
                  {test::Truck, "10:10:00", "No Fix", "25.5", "121.9"},
                  {test::Truck, "10:15:00", "3D", "25.030000", "121.530000"},
                  {test::Van, "10:00:00", "2D", "25.060000", "121.450000"}}) {
                GpslogStore(db).append(test::reportAt(user.imei, time, fix, lat, lon));
            }
        }
        MapSettings::setTileSource(
            {QStringLiteral("http://127.0.0.1:9/{z}/{x}/{y}.png"), QStringLiteral("no tiles")});
        context_ = std::make_unique<AppContext>(path_, services_.app());
        window_ = std::make_unique<MainWindow>(*context_);
        window_->resize(1000, 700);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        // Chromium starts only once the page is shown.
        QVERIFY(page()->view() == nullptr);
        window_->mainTab()->setCurrentWidget(page());
        QVERIFY(QTest::qWaitFor([&] { return page()->pageLoaded(); }, PageWaitMs));
    }

    void theFirstViewShowsTheWholeFleetWithEveryName() {
        QVERIFY(drawn([](const QJsonObject& s) { return fleetFitted(s, 2); }));
    }

    void theFleetAndASearchedTrackAreDrawnWithoutNetwork() {
        QVERIFY(drawn([&](const QJsonObject& s) {
            return s[QStringLiteral("markers")].toArray().size() == 2;
        }));
        const QJsonObject truck = markerOf(state(), test::Truck);
        QCOMPARE(truck[QStringLiteral("lat")].toDouble(), 25.03);
        QCOMPARE(truck[QStringLiteral("lon")].toDouble(), 121.53);
        QCOMPARE(markerOf(state(), test::Van)[QStringLiteral("lat")].toDouble(), 25.06);

        test::setSearchRange(*window_->searchPage(), test::onReportDay(9, 0, 0),
                             test::onReportDay(11, 0, 0));
        window_->searchPage()->userCombo()->setCurrentText(QStringLiteral("truck"));
        QTest::mouseClick(window_->searchPage()->inquireButton(), Qt::LeftButton);
        window_->mainTab()->setCurrentWidget(page());
        // Three points with a fix, one line of one speed band.
        QVERIFY(drawn([](const QJsonObject& s) {
            return s[QStringLiteral("trackPoints")].toInt() == 3 &&
                   s[QStringLiteral("trackVertices")].toInt() == 3;
        }));
        // The refused tiles leave a plain background with a graticule, said once.
        QVERIFY(
            drawn([](const QJsonObject& s) { return s[QStringLiteral("graticule")].toBool(); }));
        QVERIFY(
            QTest::qWaitFor([&] { return !page()->noticeLabel()->text().isEmpty(); }, PageWaitMs));

        // "Fit all" brings both trackers and the track into view.
        QTest::mouseClick(window_->findChild<QPushButton*>(QStringLiteral("mapFitAllButton")),
                          Qt::LeftButton);
        QVERIFY(drawn([&](const QJsonObject& s) {
            const QJsonArray view = s[QStringLiteral("bounds")].toArray();
            const auto inView = [&](const QJsonObject& marker) {
                const double lat = marker[QStringLiteral("lat")].toDouble();
                const double lon = marker[QStringLiteral("lon")].toDouble();
                return lat > view[0].toDouble() && lon > view[1].toDouble() &&
                       lat < view[2].toDouble() && lon < view[3].toDouble();
            };
            return inView(markerOf(s, test::Truck)) && inView(markerOf(s, test::Van));
        }));
        QVERIFY(services_.alerts.texts().isEmpty());
    }

    // A stored report moves the marker of its tracker alone: the fleet is not handed over
    // again and no other marker is drawn again.
    void aStoredReportUpdatesOnlyItsTrackersMarker() {
        const QJsonObject before = state();
        const int fleetUpdates = before[QStringLiteral("fleetUpdates")].toInt();
        QVERIFY(fleetUpdates >= 1);  // the page's first drawing of the fleet
        store(test::Van,
              test::reportAt(test::Van.imei, "10:16:00", "3D", "25.065000", "121.455000"));
        QVERIFY(drawn([&](const QJsonObject& s) {
            return markerOf(s, test::Van)[QStringLiteral("lat")].toDouble() == 25.065;
        }));
        const QJsonObject after = state();
        QCOMPARE(updatesOf(markerOf(after, test::Van)), updatesOf(markerOf(before, test::Van)) + 1);
        QCOMPARE(updatesOf(markerOf(after, test::Truck)), updatesOf(markerOf(before, test::Truck)));
        QCOMPARE(after[QStringLiteral("fleetUpdates")].toInt(), fleetUpdates);
        QCOMPARE(markerOf(after, test::Truck)[QStringLiteral("lat")].toDouble(), 25.03);

        // A change of the users still draws the whole fleet.
        context_->reloadUsers(window_.get());
        QVERIFY(drawn([&](const QJsonObject& s) {
            return s[QStringLiteral("fleetUpdates")].toInt() == fleetUpdates + 1;
        }));
        QVERIFY(services_.alerts.texts().isEmpty());
    }

    void aStoredReportMovesItsMarkerAndAnSosIsRedUntilAcknowledged() {
        store(test::Van,
              test::reportAt(test::Van.imei, "10:20:00", "3D", "25.070000", "121.460000"));
        QVERIFY(drawn([&](const QJsonObject& s) {
            return markerOf(s, test::Van)[QStringLiteral("lat")].toDouble() == 25.07;
        }));
        const QString red = QStringLiteral("rgb(224, 0, 0)");
        QVERIFY(markerOf(state(), test::Van)[QStringLiteral("colour")].toString() != red);

        GpslogRow sos = test::reportAt(test::Van.imei, "10:25:00", "3D", "25.080000", "121.470000");
        sos[MessageStatus] = SosReportText;
        store(test::Van, sos);
        QVERIFY(drawn([&](const QJsonObject& s) {
            const QJsonObject van = markerOf(s, test::Van);
            return van[QStringLiteral("sos")].toBool() &&
                   van[QStringLiteral("colour")].toString() == red;
        }));
        QVERIFY(!markerOf(state(), test::Truck)[QStringLiteral("sos")].toBool());

        window_->sosAlarms()->acknowledge();
        QVERIFY(drawn([&](const QJsonObject& s) {
            const QJsonObject van = markerOf(s, test::Van);
            return !van[QStringLiteral("sos")].toBool() &&
                   van[QStringLiteral("colour")].toString() != red;
        }));
    }

    // Clicks draw a polygon and a drag a circle; each is stored with the geometry drawn,
    // and a name that looks like markup is drawn as text.
    void fencesDrawnOnTheMapAreStoredAndNamedAsText() {
        QTest::mouseClick(window_->findChild<QPushButton*>(QStringLiteral("mapFitAllButton")),
                          Qt::LeftButton);
        const QString hostile = QStringLiteral("<img src=x onerror=\"window.kvInjected=1\">");
        window_->findChild<QAction*>(QStringLiteral("actionDrawPolygon"))->trigger();
        QVERIFY(drawn([](const QJsonObject& s) {
            return s[QStringLiteral("drawing")].toString() == QStringLiteral("polygon");
        }));
        const std::vector<std::pair<double, double>> corners = {{0.3, 0.3}, {0.7, 0.3}, {0.5, 0.7}};
        std::vector<GeoPoint> expected;
        for (const auto& [x, y] : corners) {
            expected.push_back(placeAt(x, y));
            mouseOnMap({{"mousedown", x, y}, {"mouseup", x, y}, {"click", x, y}});
        }
        mouseOnMap({{"click", 0.5, 0.7}, {"dblclick", 0.5, 0.7}});
        nameDrawnFence(hostile);

        window_->findChild<QAction*>(QStringLiteral("actionDrawCircle"))->trigger();
        const GeoPoint centre = placeAt(0.5, 0.5);
        const GeoPoint edge = placeAt(0.6, 0.5);
        mouseOnMap({{"mousedown", 0.5, 0.5}, {"mousemove", 0.6, 0.5}, {"mouseup", 0.6, 0.5}});
        nameDrawnFence(QStringLiteral("Depot"));

        const std::vector<Geofence> fences = storedFences();
        QCOMPARE(fences.size(), std::size_t{2});
        QCOMPARE(QString::fromStdString(fences[0].name), hostile);
        QCOMPARE(fences[0].corners.size(), expected.size());
        const double pixel = (placeAt(1, 1).lat - placeAt(0, 0).lat) / 100;  // a generous bound
        for (std::size_t i = 0; i < expected.size(); ++i) {
            QVERIFY(std::abs(fences[0].corners[i].lat - expected[i].lat) < pixel);
            QVERIFY(std::abs(fences[0].corners[i].lon - expected[i].lon) < pixel);
        }
        QCOMPARE(fences[1].shape, Geofence::Shape::Circle);
        QVERIFY(distanceMetres(fences[1].centre, centre) < 0.02 * distanceMetres(centre, edge));
        QVERIFY(std::abs(fences[1].radiusMetres / distanceMetres(centre, edge) - 1) < 0.02);

        QVERIFY(drawn([](const QJsonObject& s) {
            return s[QStringLiteral("fences")].toArray().size() == 2;
        }));
        const QJsonObject drawnFence = state()[QStringLiteral("fences")].toArray()[0].toObject();
        QVERIFY(drawnFence[QStringLiteral("tooltip")].toString().startsWith(hostile));
        QCOMPARE(drawnFence[QStringLiteral("images")].toInt(), 0);
        QCOMPARE(state()[QStringLiteral("pageImages")].toInt(), 0);
        QCOMPARE(run(QStringLiteral("typeof window.kvInjected")).toString(),
                 QStringLiteral("undefined"));
        QVERIFY(services_.alerts.texts().isEmpty());
    }

    // Without a mouse: the menu selects a fence, the arrows move it (Shift by a pixel) and
    // store it, Escape lets it go and the arrows pan the map again.
    void theKeyboardSelectsAFenceAndItsArrowsMoveIt() {
        const std::vector<Geofence> before = storedFences();
        QVERIFY(!before.empty());
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        window_->findChild<QAction*>(QStringLiteral("actionSelectNextFence"))->trigger();
        QVERIFY(
            QTest::qWaitFor([&] { return page()->selectedFence() == before[0].id; }, PageWaitMs));
        QWidget* keys = page()->view()->focusProxy();
        const auto corner = [&] { return storedFences()[0].corners[0]; };
        const GeoPoint start = corner();
        QTest::keyClick(keys, Qt::Key_Right);
        QVERIFY(QTest::qWaitFor([&] { return corner().lon > start.lon; }, PageWaitMs));
        const double tenPixels = corner().lon - start.lon;
        QVERIFY(std::abs(corner().lat - start.lat) < tenPixels / 100);
        const GeoPoint moved = corner();
        QTest::keyClick(keys, Qt::Key_Up, Qt::ShiftModifier);
        QVERIFY(QTest::qWaitFor([&] { return corner().lat > moved.lat; }, PageWaitMs));
        QVERIFY(corner().lat - moved.lat < tenPixels / 5);

        QTest::keyClick(keys, Qt::Key_Escape);
        QVERIFY(QTest::qWaitFor([&] { return page()->selectedFence() == 0; }, PageWaitMs));
        const GeoPoint left = corner();
        const QJsonValue view = state()[QStringLiteral("bounds")];
        QTest::keyClick(keys, Qt::Key_Right);
        QVERIFY(drawn([&](const QJsonObject& s) { return s[QStringLiteral("bounds")] != view; }));
        QCOMPARE(corner(), left);
        QCOMPARE(storedFences()[1].centre, before[1].centre);
    }

    void anOverdueTrackerIsDrawnGreySayingSinceWhen() {
        page()->setOverdue({{test::Van.imei, "2007/05/12 10:40:00"}});
        QVERIFY(drawn([&](const QJsonObject& s) {
            const QJsonObject van = markerOf(s, test::Van);
            return van[QStringLiteral("overdue")].toBool() &&
                   van[QStringLiteral("tooltip")].toString().endsWith(
                       QStringLiteral("Overdue since 2007/05/12 10:40:00"));
        }));
        QVERIFY(!markerOf(state(), test::Truck)[QStringLiteral("overdue")].toBool());
        page()->setOverdue({});
    }

    void trackersTogetherKeepTheirNamesApart() {
        store(test::Van,
              test::reportAt(test::Van.imei, "10:30:00", "3D", "25.030010", "121.530010"));
        QTest::mouseClick(window_->findChild<QPushButton*>(QStringLiteral("mapFitAllButton")),
                          Qt::LeftButton);
        QVERIFY(drawn([&](const QJsonObject& s) {
            const QJsonArray truck = markerOf(s, test::Truck)[QStringLiteral("name")].toArray();
            const QJsonArray van = markerOf(s, test::Van)[QStringLiteral("name")].toArray();
            const auto box = [](const QJsonArray& b) {
                return QRectF(QPointF(b[0].toDouble(), b[1].toDouble()),
                              QPointF(b[2].toDouble(), b[3].toDouble()));
            };
            return fleetFitted(s, 2) && !box(truck).intersects(box(van));
        }));
    }

    void aLoneTrackerIsFittedAtStreetLevel() {
        QVERIFY(DeleteUser(*context_, 1, window_.get(), window_.get()).has_value());
        page()->showTrack(std::nullopt);
        QTest::mouseClick(window_->findChild<QPushButton*>(QStringLiteral("mapFitAllButton")),
                          Qt::LeftButton);
        QVERIFY(drawn([](const QJsonObject& s) {
            return fleetFitted(s, 1) && s[QStringLiteral("zoom")].toInt() >= 15;
        }));
    }

    void cleanupTestCase() {
        window_.reset();
        context_.reset();
    }
};

}  // namespace kv820

KV820_WEB_PAGE_TEST_MAIN(kv820::MapPageTest)

#include "map_page_test.moc"
