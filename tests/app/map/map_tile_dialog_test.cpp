#include "app/map/map_tile_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <filesystem>

#include "support/mbtiles_writer.h"
#include "support/qt/keyboard_check.h"
#include "support/qt/recording_services.h"
#include "support/temp_dir.h"

namespace kv820 {

class MapTileDialogTest : public QObject {
    Q_OBJECT

  private:
    template <typename T>
    static T* child(QWidget& parent, const char* name) {
        T* found = parent.findChild<T*>(QString::fromLatin1(name));
        [&] { QVERIFY2(found, name); }();
        return found;
    }
    QString writeFile(const char* name, const char* format, const std::string& tile) {
        const std::string path = dir_.file(name);
        std::filesystem::remove(path);
        test::MbtilesWriter(path, {{"format", format}}).add(0, 0, 0, tile);
        return QString::fromStdString(path);
    }

    test::TempDir dir_;

  private slots:
    // Each kind of source is chosen through the program's own dialogs and checked on OK:
    // what the map cannot show keeps the dialog open, saying why.
    void eachKindIsChosenAndCheckedOnOk() {
        const QString raster = writeFile("region.mbtiles", "png", test::pngBytes(""));
        const QString vector = writeFile("vector.mbtiles", "pbf", "\x1f\x8b");
        const QString folder = QString::fromStdString(dir_.file("tiles"));
        std::filesystem::create_directories(dir_.path() / "tiles" / "4");
        std::filesystem::create_directories(dir_.path() / "empty");
        struct Case {
            const char* kindButton;
            const char* browseButton;
            QString chosen;
            bool accepted;
            const char* said;  // part of the refusal
            MapTileSource::Kind kind;
        };
        const Case cases[] = {
            {"tileFileKindButton", "tileFileBrowseButton", raster, true, "",
             MapTileSource::Kind::MbtilesFile},
            {"tileFileKindButton", "tileFileBrowseButton", vector, false, "vector tiles (pbf)",
             MapTileSource::Kind::MbtilesFile},
            {"tileFileKindButton", "tileFileBrowseButton", folder, false, "no MBTiles file",
             MapTileSource::Kind::MbtilesFile},
            {"tileFolderKindButton", "tileFolderBrowseButton", folder, true, "",
             MapTileSource::Kind::Folder},
            {"tileFolderKindButton", "tileFolderBrowseButton",
             QString::fromStdString(dir_.file("empty")), false, "no tiles",
             MapTileSource::Kind::Folder},
        };
        for (const Case& c : cases) {
            test::RecordingServices services;
            services.files.openAnswer = c.chosen;
            services.files.folderAnswer = c.chosen;
            MapTileDialog dialog(MapSettings::defaultTileSource(), services.app());
            dialog.show();
            child<QRadioButton>(dialog, c.kindButton)->click();
            child<QPushButton>(dialog, c.browseButton)->click();
            QCOMPARE(services.files.owner, &dialog);
            QCOMPARE(dialog.tileSource().path, c.chosen);
            QCOMPARE(int(dialog.tileSource().kind), int(c.kind));
            dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
            QCOMPARE(dialog.result() == QDialog::Accepted, c.accepted);
            QCOMPARE(dialog.isVisible(), !c.accepted);
            if (c.accepted) {
                QVERIFY(services.alerts.texts().isEmpty());
            } else {
                QCOMPARE(services.alerts.texts().size(), 1);
                QVERIFY2(services.alerts.texts().front().contains(QLatin1String(c.said)),
                         qPrintable(services.alerts.texts().front()));
            }
        }
    }

    // "Default" brings back the tile server; each kind's fields are usable only with it.
    void defaultPutsBackTheServerAndOnlyTheChosenKindsFieldsAreOpen() {
        test::RecordingServices services;
        MapTileDialog dialog({{}, {}, MapTileSource::Kind::Folder, QStringLiteral("/srv/tiles")},
                             services.app());
        dialog.show();
        dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::RestoreDefaults)->click();
        QCOMPARE(int(dialog.tileSource().kind), int(MapTileSource::Kind::Url));
        QCOMPARE(dialog.tileSource().urlTemplate, MapSettings::defaultTileSource().urlTemplate);
        QVERIFY(!child<QLineEdit>(dialog, "tileFolderEdit")->isEnabled());
        QVERIFY(child<QLineEdit>(dialog, "tileUrlEdit")->isEnabled());
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::MapTileDialogTest)
#include "map_tile_dialog_test.moc"
