#include "app/firmware/firmware_wizard.h"

#include <QWidget>
#include <QWindow>

#include "app/firmware/firmware_update_dialog.h"
#include "app/firmware/firmware_wizard_dialog.h"

namespace kv820 {

namespace {
// Keeps a parentless dialog above the main window, as an owned window is.
void stayAbove(QWidget* dialog, QWidget* owner) {
    dialog->winId();  // makes the native window, so that it can be given an owner
    if (owner && owner->windowHandle() && dialog->windowHandle()) {
        dialog->windowHandle()->setTransientParent(owner->windowHandle());
    }
}
}  // namespace

FirmwareWizard* FirmwareWizard::open(QWidget* mainWindow, QPlainTextEdit* modemLog) {
    return new FirmwareWizard(mainWindow, modemLog);
}

FirmwareWizard::FirmwareWizard(QWidget* mainWindow, QPlainTextEdit* modemLog)
    : QObject(mainWindow),
      mainWindow_(mainWindow),
      wizardDialog_(std::make_unique<FirmwareWizardDialog>()),
      updateDialog_(std::make_unique<FirmwareUpdateDialog>(modemLog)) {
    setObjectName(QStringLiteral("firmwareWizard"));
    connect(wizardDialog_.get(), &FirmwareWizardDialog::updateRequested, this,
            &FirmwareWizard::showUpdateDialog);
    connect(wizardDialog_.get(), &QDialog::finished, this, &FirmwareWizard::close);
    connect(updateDialog_.get(), &QDialog::finished, this, &FirmwareWizard::close);
    if (mainWindow_) {
        mainWindow_->setEnabled(false);
    }
    stayAbove(wizardDialog_.get(), mainWindow_);
    wizardDialog_->show();
}

FirmwareWizard::~FirmwareWizard() {
    // The update dialog joins its read thread as it goes.
    updateDialog_.reset();
    wizardDialog_.reset();
    if (mainWindow_) {
        mainWindow_->setEnabled(true);
    }
}

void FirmwareWizard::showUpdateDialog() {
    stayAbove(updateDialog_.get(), mainWindow_);
    updateDialog_->show();
    wizardDialog_->hide();
}

void FirmwareWizard::close() {
    if (closing_) {
        return;
    }
    closing_ = true;
    updateDialog_->stopRun();
    updateDialog_->hide();
    wizardDialog_->hide();
    if (mainWindow_) {
        mainWindow_->setEnabled(true);
    }
    emit closed();
    deleteLater();
}

}  // namespace kv820
