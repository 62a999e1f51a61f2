#pragma once

#include <QDialog>
#include <memory>

#include "core/setup/setup_context.h"
#include "core/setup/sim_pin_entry.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace kv820 {

class SetupPortWorker;
struct SetupSession;

// "Enter SIM PIN": sends the typed PIN to the tracker's module on a worker thread and
// reads how many attempts are left. Accepted (the dialog ends with Accepted) when the
// module took the PIN; it stays open for another try while attempts are left; any other
// answer ends it rejected. It takes no input while the module is asked.
class SimPinDialog : public QDialog {
    Q_OBJECT
  public:
    explicit SimPinDialog(SetupSession& session, QWidget* parent = nullptr);
    ~SimPinDialog() override;

    QLineEdit* pinEdit() const { return pinEdit_; }
    QPushButton* okButton() const { return okButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }
    bool isAsking() const { return asking_; }

  public slots:
    // "OK": checks and sends the typed PIN.
    void enterPin();
    // Cancel, the close box and Escape; never while the module is asked.
    void reject() override;

  private:
    void buildControls();
    void setAsking(bool asking);
    void finishEntry(SimPinOutcome outcome, const SetupContext& context);

    SetupSession& session_;
    std::unique_ptr<SetupPortWorker> worker_;
    QLineEdit* pinEdit_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    bool asking_ = false;
};

}  // namespace kv820
