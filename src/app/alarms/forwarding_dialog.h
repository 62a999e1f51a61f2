#pragma once

#include <QDialog>
#include <map>

#include "core/alarms/tracker_events.h"

class QCheckBox;
class QLineEdit;
class QTableWidget;

namespace kv820 {

class AppContext;

// "Event forwarding": the duty phone numbers, the webhook address and the kinds of events
// sent to them, and the latest forwards with how each went (a failed one says why).
// Saving refuses numbers and addresses that are none, saying which.
class ForwardingDialog : public QDialog {
    Q_OBJECT
  public:
    ForwardingDialog(AppContext& context, QWidget* parent);

    QTableWidget* log() const { return log_; }

    void accept() override;

  private:
    QWidget* settingsBox();
    void fillLog();

    AppContext& context_;
    QLineEdit* numbers_;
    QLineEdit* webhook_;
    std::map<EventKind, QCheckBox*> kinds_;
    QTableWidget* log_;
};

}  // namespace kv820
