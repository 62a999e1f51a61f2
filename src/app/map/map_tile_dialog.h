#pragma once

#include <QDialog>

#include "app/common/app_services.h"
#include "app/map/map_settings.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kv820 {

// Chooses where the map's tiles come from: a tile server's URL template with the
// attribution it asks for ("Default" puts back the public OpenStreetMap server), an
// MBTiles file, or a folder of tiles, the last two for a desk without internet. A file or
// folder the map cannot show is refused on OK, saying why; the dialog stays open.
class MapTileDialog : public QDialog {
    Q_OBJECT
  public:
    MapTileDialog(const MapTileSource& source, AppServices services, QWidget* parent = nullptr);

    MapTileSource tileSource() const;
    void accept() override;

  private:
    void chooseFile();
    void chooseFolder();
    void enableFields();

    AppServices services_;
    QRadioButton* urlButton_;
    QRadioButton* fileButton_;
    QRadioButton* folderButton_;
    QLineEdit* urlEdit_;
    QLineEdit* attributionEdit_;
    QLineEdit* fileEdit_;
    QPushButton* fileBrowse_;
    QLineEdit* folderEdit_;
    QPushButton* folderBrowse_;
};

}  // namespace kv820
