// The "Geofences" dialog as the menu opens it: a GeoJSON file imported whole or refused
// whole, a fence renamed and one deleted, each stored through the window's connection.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "app/alarms/fence_dialog.h"
#include "app/alarms/geofences_dialog.h"
#include "app/shell/main_window.h"
#include "core/alarms/alarm_store.h"
#include "core/store/database.h"
#include "support/qt/recording_services.h"
#include "support/qt/records_database.h"

namespace kv820 {

namespace {

const char TwoFences[] =
    R"({"type":"FeatureCollection","features":[)"
    R"({"type":"Feature","geometry":{"type":"Point","coordinates":[121.5,25.0]},)"
    R"("properties":{"name":"Depot","radius":250}},)"
    R"({"type":"Feature","geometry":{"type":"Polygon","coordinates":[[[121.4,25.1],)"
    R"([121.6,25.1],[121.6,25.2],[121.4,25.1]]]},"properties":{"name":"Port",)"
    R"("speed_limit_kmh":30,"trackers":["354612071234567"]}}]})";

// The second feature has no radius: the whole file is refused.
const char OneBadFence[] =
    R"({"type":"FeatureCollection","features":[)"
    R"({"type":"Feature","geometry":{"type":"Point","coordinates":[121.5,25.0]},)"
    R"("properties":{"name":"Gate","radius":100}},)"
    R"({"type":"Feature","geometry":{"type":"Point","coordinates":[121.5,25.0]},)"
    R"("properties":{"name":"<b>Yard</b>"}}]})";

QStringList names(const QTableWidget* table) {
    QStringList names;
    for (int r = 0; r < table->rowCount(); ++r) {
        names << table->item(r, 0)->text();
    }
    return names;
}

}  // namespace

class GeofencesDialogTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<test::WindowRig> rig_;

    QString writeFile(const char* name, const char* text) {
        const QString path = QString::fromStdString(rig_->dir.file(name));
        QFile file(path);
        [&] { QVERIFY(file.open(QIODevice::WriteOnly)); }();
        file.write(text);
        return path;
    }
    std::vector<Geofence> stored() {
        Database db(rig_->path);
        return AlarmStore(db).geofences();
    }
    QPushButton* button(GeofencesDialog* dialog, const char* name) {
        return dialog->findChild<QPushButton*>(QString::fromLatin1(name));
    }

  private slots:
    void init() { rig_ = std::make_unique<test::WindowRig>(); }
    void cleanup() { rig_.reset(); }

    void aFileIsImportedWholeOrRefusedAndAFenceRenamedAndDeleted() {
        test::RecordingServices& services = rig_->services;
        bool checked = false;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<GeofencesDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            const auto done = qScopeGuard([&] { dialog->reject(); });
            QTableWidget* table = dialog->table();

            services.files.openAnswer = writeFile("bad.geojson", OneBadFence);
            button(dialog, "importGeofencesButton")->click();
            QCOMPARE(table->rowCount(), 0);
            QCOMPARE(services.alerts.texts(),
                     QStringList{"The geofences were not imported: feature 2 (\"<b>Yard</b>\"): "
                                 "a point needs a \"radius\" in metres."});

            services.files.openAnswer = writeFile("two.geojson", TwoFences);
            button(dialog, "importGeofencesButton")->click();
            QCOMPARE(names(table), (QStringList{"Depot", "Port"}));
            QCOMPARE(table->item(1, 2)->text(), QStringLiteral("30 km/h"));
            QCOMPARE(table->item(1, 3)->text(), QStringLiteral("truck"));

            table->selectRow(0);
            button(dialog, "editGeofenceButton")->click();
            auto* edit = dialog->findChild<FenceDialog*>(QStringLiteral("fenceDialog"));
            QVERIFY(edit && edit->isVisible());
            edit->nameEdit()->setText(QStringLiteral("Main depot"));
            edit->accept();
            QCOMPARE(names(table), (QStringList{"Main depot", "Port"}));

            table->selectRow(1);
            services.alerts.answer = true;
            button(dialog, "deleteGeofenceButton")->click();
            QCOMPARE(names(table), QStringList{"Main depot"});
            checked = true;
        });
        rig_->window.geofencesAction()->trigger();
        QVERIFY(checked);
        const std::vector<Geofence> fences = stored();
        QCOMPARE(fences.size(), std::size_t{1});
        QCOMPARE(fences[0].name, std::string("Main depot"));
        QCOMPARE(fences[0].radiusMetres, 250.0);
        QCOMPARE(fences[0].centre, (GeoPoint{25.0, 121.5}));
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::GeofencesDialogTest)
#include "geofences_dialog_test.moc"
