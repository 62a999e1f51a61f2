#pragma once

#include <QDialog>
#include <cstdint>

class QPushButton;
class QTableWidget;

namespace kv820 {

class AppContext;
class GeofenceEditor;

// "Geofences": every stored fence with its shape, speed limit and trackers; editing one
// (name, limit, trackers), deleting it, and importing and exporting GeoJSON files.
class GeofencesDialog : public QDialog {
    Q_OBJECT
  public:
    GeofencesDialog(AppContext& context, GeofenceEditor& editor, QWidget* parent);

    QTableWidget* table() const { return table_; }

  private:
    void fill();
    std::int64_t currentFence() const;
    void importChosenFile();
    void exportToChosenFile();

    AppContext& context_;
    GeofenceEditor& editor_;
    QTableWidget* table_;
    QPushButton* editButton_;
    QPushButton* deleteButton_;
};

}  // namespace kv820
