// The map page in a real web view (Chromium, offscreen) on tiles the program serves itself
// from an MBTiles file the test writes: no network at all. What the page drew is read back
// from its own script state.
#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <tuple>

#include "app/common/app_context.h"
#include "app/map/map_page.h"
#include "app/map/map_settings.h"
#include "app/map/map_tile_dialog.h"
#include "app/map/tile_scheme_handler.h"
#include "app/map/web_engine_setup.h"
#include "core/store/database.h"
#include "core/store/gpslog_store.h"
#include "support/mbtiles_writer.h"
#include "support/qt/recording_services.h"
#include "support/qt/records_database.h"
#include "support/qt/settings_folder.h"
#include "support/qt/web_page_script.h"
#include "support/temp_dir.h"

namespace kv820 {

using test::PageWaitMs;

// A 256-pixel tile of one colour, as a real PNG the page decodes.
std::string solidTile(Qt::GlobalColor colour) {
    QImage image(256, 256, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

class MapOfflineTilesTest : public QObject {
    Q_OBJECT

  private:
    QVariant run(const QString& script) { return test::runScript(*page_->view()->page(), script); }
    QJsonObject state() {
        return test::scriptState(*page_->view()->page(), QStringLiteral("kv820Map.state()"));
    }
    bool drawn(const std::function<bool(const QJsonObject&)>& done) {
        return test::waitForState(*page_->view()->page(), QStringLiteral("kv820Map.state()"), done);
    }
    // The operator picks `path` in the "Tiles..." dialog as an MBTiles file.
    void chooseFileInDialog(const QString& path) {
        QTimer::singleShot(0, this, [&] {
            auto* dialog = page_->findChild<MapTileDialog*>(QStringLiteral("mapTileDialog"));
            QVERIFY(dialog);
            dialog->findChild<QRadioButton*>(QStringLiteral("tileFileKindButton"))->click();
            dialog->findChild<QLineEdit*>(QStringLiteral("tileFileEdit"))->setText(path);
            dialog->accept();
        });
        page_->findChild<QPushButton*>(QStringLiteral("mapTilesButton"))->click();
    }

    test::TempDir dir_;
    test::RecordingServices services_;
    std::string worldFile_ = dir_.file("world.mbtiles");
    std::unique_ptr<AppContext> context_;
    std::unique_ptr<MapPage> page_;

  private slots:
    void initTestCase() {
        test::keepSettingsIn(QString::fromStdString(dir_.file("settings")));
        const std::string path = test::createRecordsDatabase(dir_, {test::Truck});
        {
            Database db(path);
            GpslogStore(db).append(
                test::reportAt(test::Truck.imei, "10:00:00", "3D", "25.010000", "121.500000"));
        }
        {
            // The whole world at zooms 1 and 2, each tile a colour of its own zoom.
            test::MbtilesWriter file(worldFile_,
                                     {{"format", "png"},
                                      {"minzoom", "1"},
                                      {"maxzoom", "2"},
                                      {"bounds", "-180,-85.0511,180,85.0511"},
                                      {"center", "121.5,25.05,2"},
                                      {"attribution",
                                       "<img src=x onerror=\"window.injected=1\"> Tiles &copy; "
                                       "<b>test</b>"}});
            for (int zoom = 1; zoom <= 2; ++zoom) {
                const std::string tile = solidTile(zoom == 1 ? Qt::darkGreen : Qt::darkCyan);
                for (int x = 0; x < (1 << zoom); ++x) {
                    for (int y = 0; y < (1 << zoom); ++y) {
                        file.add(zoom, x, y, tile);
                    }
                }
            }
        }
        MapSettings::setTileSource(
            {{}, {}, MapTileSource::Kind::MbtilesFile, QString::fromStdString(worldFile_)});
        context_ = std::make_unique<AppContext>(path, services_.app());
        context_->openStore(nullptr);
        page_ = std::make_unique<MapPage>(*context_, [] { return std::vector<std::string>{}; });
        page_->resize(1000, 700);
        page_->show();
        QVERIFY(QTest::qWaitFor([&] { return page_->pageLoaded(); }, PageWaitMs));
    }

    void theTilesComeFromTheFileThroughTheProgramsScheme() {
        QVERIFY(drawn([](const QJsonObject& s) {
            return s[QStringLiteral("tilesLoaded")].toInt() > 0 &&
                   s[QStringLiteral("tileUrl")].toString().startsWith(
                       QStringLiteral("kv820tiles://"));
        }));
        const QJsonObject s = state();
        QCOMPARE(s[QStringLiteral("tilesMissing")].toInt(), 0);
        QCOMPARE(s[QStringLiteral("tilesFailed")].toBool(), false);
        QCOMPARE(s[QStringLiteral("graticule")].toBool(), false);
        QCOMPARE(s[QStringLiteral("markers")].toArray().size(), 1);  // drawn over the tiles
        QVERIFY(page_->tileHandler()->servedTiles() > 0);
        QCOMPARE(page_->tileHandler()->missingTiles(), 0);
        QVERIFY(page_->noticeLabel()->text().isEmpty());
    }

    // No view was saved: the file's centre and zoom; its zoom range bounds the map.
    void theFirstViewAndTheZoomsFollowTheFile() {
        QVERIFY(drawn([](const QJsonObject& s) { return s[QStringLiteral("zoom")].toInt() == 2; }));
        const QJsonObject s = state();
        QVERIFY(std::abs(s[QStringLiteral("centre")].toArray()[0].toDouble() - 25.05) < 0.5);
        QVERIFY(std::abs(s[QStringLiteral("centre")].toArray()[1].toDouble() - 121.5) < 0.5);
        QCOMPARE(s[QStringLiteral("minZoom")].toInt(), 1);
    }

    // Beyond the file's deepest zoom its tiles are scaled up: the map stays covered.
    void deeperThanTheFileTheDeepestTilesAreScaledUp() {
        run(QStringLiteral("kv820Map.setView(25.0, 121.5, 9)"));
        QVERIFY(drawn([&](const QJsonObject& s) {
            return s[QStringLiteral("zoom")].toInt() == 9 &&
                   run(QStringLiteral("document.querySelectorAll('.leaflet-tile-loaded').length"))
                           .toInt() > 0;
        }));
        QCOMPARE(page_->tileHandler()->missingTiles(), 0);
        QCOMPARE(state()[QStringLiteral("tilesFailed")].toBool(), false);
    }

    // The file's attribution is shown as the characters it holds: no element is made of it.
    void theFilesAttributionIsShownAsText() {
        const QJsonObject s = state();
        QVERIFY2(s[QStringLiteral("attribution")].toString().contains(QStringLiteral(
                     "<img src=x onerror=\"window.injected=1\"> Tiles &copy; <b>test</b>")),
                 qPrintable(s[QStringLiteral("attribution")].toString()));
        QCOMPARE(s[QStringLiteral("pageImages")].toInt(), 0);
        QCOMPARE(run(QStringLiteral("typeof window.injected")).toString(),
                 QStringLiteral("undefined"));
        QCOMPARE(run(QStringLiteral(
                         "document.querySelectorAll('.leaflet-control-attribution b').length"))
                     .toInt(),
                 0);
    }

    // A file of one tile: the tiles it lacks leave the plain background and the graticule,
    // and no notice, since the file itself serves well.
    void tilesTheFileLacksAreNoFailure() {
        const QString corner = QString::fromStdString(dir_.file("corner.mbtiles"));
        {
            test::MbtilesWriter file(corner.toStdString(), {{"format", "png"}});
            file.add(3, 6, 3, solidTile(Qt::darkYellow));
        }
        chooseFileInDialog(corner);
        run(QStringLiteral("kv820Map.setView(25.0, 121.5, 3)"));
        QVERIFY(drawn([](const QJsonObject& s) {
            return s[QStringLiteral("tilesLoaded")].toInt() > 0 &&
                   s[QStringLiteral("tilesMissing")].toInt() > 0 &&
                   s[QStringLiteral("graticule")].toBool();
        }));
        QCOMPARE(state()[QStringLiteral("tilesFailed")].toBool(), false);
        QVERIFY(page_->noticeLabel()->text().isEmpty());
        QVERIFY(services_.alerts.texts().isEmpty());
        QCOMPARE(MapSettings::tileSource().path, corner);
    }

    // A source that gives no tile at all is said, with the reason.
    void aFileThatCannotBeReadIsSaid() {
        MapSettings::setRunTileSource({{},
                                       {},
                                       MapTileSource::Kind::MbtilesFile,
                                       QString::fromStdString(dir_.file("gone.mbtiles"))});
        page_->view()->reload();
        QVERIFY(QTest::qWaitFor(
            [&] {
                return page_->noticeLabel()->text().startsWith(
                    QStringLiteral("Map tiles cannot be loaded: "));
            },
            PageWaitMs));
        QVERIFY(page_->noticeLabel()->text().contains(QStringLiteral("gone.mbtiles")));
        QVERIFY(drawn([](const QJsonObject& s) {
            return s[QStringLiteral("graticule")].toBool() &&
                   s[QStringLiteral("tileUrl")].toString().isEmpty();
        }));
    }

    void cleanupTestCase() {
        page_.reset();
        context_.reset();
    }
};

}  // namespace kv820

KV820_WEB_PAGE_TEST_MAIN(kv820::MapOfflineTilesTest)

#include "map_offline_tiles_test.moc"
