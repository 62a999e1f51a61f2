#pragma once

#include <QObject>

namespace kv820 {

// What the map page tells the program, through the web channel (object "bridge").
class MapBridge : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

  public slots:
    void viewChanged(double latitude, double longitude, int zoom) {
        emit viewMoved(latitude, longitude, zoom);
    }
    void tilesUnavailable() { emit tilesFailed(); }

  signals:
    void viewMoved(double latitude, double longitude, int zoom);
    void tilesFailed();
};

}  // namespace kv820
