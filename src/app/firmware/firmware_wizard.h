#pragma once

#include <QObject>
#include <QPointer>
#include <memory>

class QPlainTextEdit;
class QWidget;

namespace kv820 {

class FirmwareUpdateDialog;
class FirmwareWizardDialog;

// The firmware view, "KV820 Update" then "Firmware Update", for as long as either is open.
// The main window is disabled meanwhile and enabled again when the view closes; closing
// either dialog closes both and stops a running read. The dialogs are windows of their own
// (a disabled window would disable the windows it parents); the view itself is a child of
// the main window, so that it and its read thread go before the main window does.
class FirmwareWizard : public QObject {
    Q_OBJECT
  public:
    // Opens the view over `mainWindow`, writing the image into `modemLog`.
    static FirmwareWizard* open(QWidget* mainWindow, QPlainTextEdit* modemLog);
    ~FirmwareWizard() override;

    FirmwareWizardDialog* wizardDialog() const { return wizardDialog_.get(); }
    FirmwareUpdateDialog* updateDialog() const { return updateDialog_.get(); }

  signals:
    void closed();

  private:
    FirmwareWizard(QWidget* mainWindow, QPlainTextEdit* modemLog);
    void showUpdateDialog();
    void close();

    QPointer<QWidget> mainWindow_;
    std::unique_ptr<FirmwareWizardDialog> wizardDialog_;
    std::unique_ptr<FirmwareUpdateDialog> updateDialog_;
    bool closing_ = false;
};

}  // namespace kv820
