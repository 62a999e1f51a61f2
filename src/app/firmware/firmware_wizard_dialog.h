#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;

namespace kv820 {

// "KV820 Update": step 1 picks the COM port of the tracker on the cable (with its own
// scan for the tracker's boot loader), step 2 goes on to "Firmware Update".
class FirmwareWizardDialog : public QDialog {
    Q_OBJECT
  public:
    explicit FirmwareWizardDialog(QWidget* parent = nullptr);

    QComboBox* portCombo() const { return portCombo_; }

  signals:
    // "Update" was pressed.
    void updateRequested();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void scanPorts();

    QComboBox* portCombo_;
    QPushButton* scanButton_;
    QPushButton* updateButton_;
    bool portsListed_ = false;
};

}  // namespace kv820
