#pragma once

#include <QObject>
#include <QVariantList>

namespace kv820 {

// What the map page tells the program, through the web channel (object "bridge"). The page
// runs a script the program does not trust with its data: whatever it sends is checked by
// whoever takes the signal.
class MapBridge : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

  public slots:
    void viewChanged(double latitude, double longitude, int zoom) {
        emit viewMoved(latitude, longitude, zoom);
    }
    void tilesUnavailable() { emit tilesFailed(); }
    void circleDrawn(double latitude, double longitude, double radiusMetres) {
        emit circleFinished(latitude, longitude, radiusMetres);
    }
    // The corners as latitude, longitude, latitude, longitude, ...
    void polygonDrawn(const QVariantList& latLons) { emit polygonFinished(latLons); }
    // JavaScript numbers: an id arrives as a double.
    void fenceDragged(double id, double dLat, double dLon) { emit fenceDropped(id, dLat, dLon); }
    void fenceSelected(double id) { emit fenceChosen(id); }

  signals:
    void viewMoved(double latitude, double longitude, int zoom);
    void tilesFailed();
    void circleFinished(double latitude, double longitude, double radiusMetres);
    void polygonFinished(const QVariantList& latLons);
    void fenceDropped(double id, double dLat, double dLon);
    void fenceChosen(double id);
};

}  // namespace kv820
