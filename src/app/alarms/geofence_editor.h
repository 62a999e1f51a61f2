#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/alarms/geofence.h"

class QWidget;

namespace kv820 {

class AppContext;

// Stores what the operator does to the fences, from the map or the Geofences dialog,
// through the window's connection, and says when the fences changed. A failure is shown
// to the operator and changes nothing.
class GeofenceEditor : public QObject {
    Q_OBJECT
  public:
    GeofenceEditor(AppContext& context, QWidget* messageOwner, QObject* parent = nullptr);

    // Every stored fence; none (after the message) when they cannot be read.
    std::vector<Geofence> fences();
    // Asks for the name, the limit and the trackers of a drawn shape, then stores it.
    void addDrawn(const Geofence& shape);
    // Opens the fence's dialog (owned by `owner`) and stores what it ends with.
    void edit(std::int64_t id, QWidget* owner);
    void move(std::int64_t id, double dLat, double dLon);
    // After the operator confirms.
    void remove(std::int64_t id, QWidget* owner);
    // A GeoJSON file's fences are added all or none: a bad file is refused with the reason.
    void importFile(const QString& path, QWidget* owner);
    void exportFile(const QString& path, QWidget* owner);

  signals:
    void fencesChanged();

  private:
    std::optional<Geofence> fenceOf(std::int64_t id);
    void openDialog(const Geofence& fence, QWidget* owner);
    bool store(const Geofence& fence);
    void showFailure(QWidget* owner, const QString& text);

    AppContext& context_;
    QWidget* messageOwner_;
};

}  // namespace kv820
