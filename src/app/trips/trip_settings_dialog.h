#pragma once

#include <QDialog>

#include "core/trips/track_summary.h"

class QSpinBox;

namespace kv820 {

// "Trip settings": the stop radius, the shortest stop and the silence after which a move
// is checked for speed, each within bounds that keep the finder's work sensible.
class TripSettingsDialog : public QDialog {
    Q_OBJECT
  public:
    TripSettingsDialog(const TripSettings& settings, QWidget* parent);

    TripSettings settings() const;

  private:
    TripSettings settings_;
    QSpinBox* radius_;
    QSpinBox* shortestStop_;
    QSpinBox* gapMinutes_;
};

}  // namespace kv820
