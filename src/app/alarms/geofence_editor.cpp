#include "app/alarms/geofence_editor.h"

#include <QFile>
#include <filesystem>

#include "app/alarms/fence_dialog.h"
#include "app/common/app_context.h"
#include "app/common/database_messages.h"
#include "app/common/window_alarm_store.h"
#include "core/alarms/fence_map_json.h"
#include "core/alarms/geofence_geojson.h"
#include "core/records/export_file.h"
#include "core/store/database_error.h"
#include "core/store/transaction.h"

namespace kv820 {

GeofenceEditor::GeofenceEditor(AppContext& context, QWidget* messageOwner, QObject* parent)
    : QObject(parent), context_(context), messageOwner_(messageOwner) {}

void GeofenceEditor::showFailure(QWidget* owner, const QString& text) {
    context_.services().alerts->error(owner ? owner : messageOwner_, text);
}

std::vector<Geofence> GeofenceEditor::fences() {
    try {
        return storedFences(context_);
    } catch (const DatabaseError&) {
        showFailure(nullptr, QString::fromLatin1(AlarmSettingsFailureText));
        return {};
    }
}

std::optional<Geofence> GeofenceEditor::fenceOf(std::int64_t id) {
    for (Geofence& fence : fences()) {
        if (fence.id == id) {
            return std::move(fence);
        }
    }
    return std::nullopt;
}

bool GeofenceEditor::store(const Geofence& fence) {
    try {
        windowAlarmStore(context_).saveGeofence(fence);
        emit fencesChanged();
        return true;
    } catch (const DatabaseError&) {
        showFailure(nullptr, QString::fromLatin1(AlarmSettingsFailureText));
        return false;
    }
}

void GeofenceEditor::openDialog(const Geofence& fence, QWidget* owner) {
    // Not waited for: the map goes on drawing and the bridge call that asked returns.
    auto* dialog =
        new FenceDialog(fence, context_.registry().snapshot(), owner ? owner : messageOwner_);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] { store(dialog->fence()); });
    connect(dialog, &QDialog::rejected, this, &GeofenceEditor::fencesChanged);
    dialog->open();
}

void GeofenceEditor::addDrawn(const Geofence& shape) {
    Geofence fence = shape;
    fence.id = 0;
    openDialog(fence, nullptr);
}

void GeofenceEditor::edit(std::int64_t id, QWidget* owner) {
    if (const auto fence = fenceOf(id)) {
        openDialog(*fence, owner);
    }
}

void GeofenceEditor::move(std::int64_t id, double dLat, double dLon) {
    const auto fence = fenceOf(id);
    const auto moved = fence ? movedFence(*fence, dLat, dLon) : std::nullopt;
    if (!moved || !store(*moved)) {
        emit fencesChanged();  // the map puts the fence back where it is stored
    }
}

void GeofenceEditor::remove(std::int64_t id, QWidget* owner) {
    const auto fence = fenceOf(id);
    if (!fence || !context_.services().alerts->question(
                      owner ? owner : messageOwner_, QStringLiteral("Geofences"),
                      QStringLiteral("Delete the geofence \"%1\"?")
                          .arg(QString::fromStdString(fence->name)))) {
        return;
    }
    try {
        windowAlarmStore(context_).removeGeofence(id);
    } catch (const DatabaseError&) {
        showFailure(owner, QString::fromLatin1(AlarmSettingsFailureText));
    }
    emit fencesChanged();
}

void GeofenceEditor::importFile(const QString& path, QWidget* owner) {
    QFile file(path);
    if (file.size() > static_cast<qint64>(MaxGeojsonBytes) || !file.open(QIODevice::ReadOnly)) {
        showFailure(owner, QStringLiteral("The file cannot be read: %1").arg(path));
        return;
    }
    const QByteArray text = file.read(static_cast<qint64>(MaxGeojsonBytes) + 1);
    const GeofenceImport read = geofencesFromGeojson(std::string_view(text.data(), text.size()));
    if (!read.error.empty()) {
        showFailure(owner, QStringLiteral("The geofences were not imported: %1.")
                               .arg(QString::fromStdString(read.error)));
        return;
    }
    try {
        AlarmStore store = windowAlarmStore(context_);  // throws when there is no connection
        Transaction transaction(*context_.usersConnection());
        for (Geofence fence : read.fences) {
            fence.id = 0;
            store.saveGeofence(fence);
        }
        transaction.commit();
    } catch (const DatabaseError&) {
        showFailure(owner, QString::fromLatin1(AlarmSettingsFailureText));
    }
    emit fencesChanged();
}

void GeofenceEditor::exportFile(const QString& path, QWidget* owner) {
    const std::vector<Geofence> all = fences();
    ExportFile file(std::filesystem::path(path.toStdU16String()));
    if (!file.open() || !file.write(geojsonOfGeofences(all)) || !file.commit()) {
        showFailure(owner, QStringLiteral("The geofences were not exported: %1")
                               .arg(QString::fromStdString(file.failureReason())));
    }
}

}  // namespace kv820
