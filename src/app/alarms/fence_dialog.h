#pragma once

#include <QDialog>

#include "core/alarms/geofence.h"
#include "core/store/user_registry.h"

class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace kv820 {

// Names a fence and sets its speed limit and the trackers it applies to (none checked:
// every tracker). It closes only on a fence that can be stored.
class FenceDialog : public QDialog {
    Q_OBJECT
  public:
    FenceDialog(Geofence fence, const UserRegistry::Snapshot& users, QWidget* parent);

    // The fence as the operator left it.
    Geofence fence() const;

    QLineEdit* nameEdit() const { return name_; }
    QDoubleSpinBox* limitBox() const { return limit_; }
    QListWidget* trackerList() const { return trackers_; }

    void accept() override;

  private:
    void fillTrackers(const UserRegistry::Snapshot& users);

    Geofence fence_;
    QLineEdit* name_;
    QDoubleSpinBox* limit_;
    QListWidget* trackers_;
    QLabel* problem_;
};

}  // namespace kv820
