#pragma once

#include <QDialog>

#include "app/map/map_settings.h"

class QLineEdit;

namespace kv820 {

// Edits the map's tile source: a URL template and the attribution the tile server asks
// for. "Default" puts back the public OpenStreetMap server.
class MapTileDialog : public QDialog {
    Q_OBJECT
  public:
    MapTileDialog(const MapTileSource& source, QWidget* parent = nullptr);

    MapTileSource tileSource() const;

  private:
    QLineEdit* urlEdit_;
    QLineEdit* attributionEdit_;
};

}  // namespace kv820
