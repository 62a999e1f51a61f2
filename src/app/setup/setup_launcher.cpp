#include "app/setup/setup_launcher.h"

#include "app/common/app_context.h"
#include "app/setup/setup_file_dialog.h"
#include "app/setup/setup_wizard.h"
#include "app/setup/tracker_registration.h"

namespace kv820 {

SetupLauncher::SetupLauncher(AppContext& context, QWidget* window)
    : QObject(window), context_(context), window_(window) {
    setObjectName(QStringLiteral("setupLauncher"));
    session_.services = context_.services();
    session_.registeredUsers = [this] { return context_.registry().snapshot(); };
    session_.registerTracker = [this](QWidget* owner, const UserSlot& tracker) {
        registerTracker(owner, tracker);
    };
}

SetupLauncher::~SetupLauncher() {
    // The setup windows use the session; they go first.
    delete setupFileDialog_;
    delete wizard_;
}

void SetupLauncher::open() {
    for (QWidget* open :
         {static_cast<QWidget*>(setupFileDialog_), static_cast<QWidget*>(wizard_)}) {
        if (open) {
            open->raise();
            open->activateWindow();
            return;
        }
    }
    wizard_ = new SetupWizard(session_, window_);
    connect(wizard_, &SetupWizard::setupFileReady, this, &SetupLauncher::openSetupFile);
    connect(wizard_, &QDialog::finished, this, [this, wizard = wizard_.data()] { endOf(wizard); });
    showOverDisabledWindow(wizard_);
}

void SetupLauncher::openSetupFile(const SetupForm& form) {
    setupFileDialog_ = new SetupFileDialog(form, session_, window_);
    connect(setupFileDialog_, &QDialog::finished, this,
            [this, dialog = setupFileDialog_.data()] { endOf(dialog); });
    showOverDisabledWindow(setupFileDialog_);
}

void SetupLauncher::showOverDisabledWindow(QWidget* setupWindow) {
    window_->setEnabled(false);
    // A disabled window disables its child windows too; the setup window stays usable.
    setupWindow->setEnabled(true);
    setupWindow->show();
    setupWindow->raise();
    setupWindow->activateWindow();
}

void SetupLauncher::endOf(QWidget* setupWindow) {
    setupWindow->deleteLater();
    const bool stillOpen =
        (wizard_ && wizard_ != setupWindow && wizard_->isVisible()) ||
        (setupFileDialog_ && setupFileDialog_ != setupWindow && setupFileDialog_->isVisible());
    if (!stillOpen) {
        window_->setEnabled(true);
    }
}

void SetupLauncher::registerTracker(QWidget* owner, const UserSlot& tracker) {
    RegisterTracker(context_, owner, tracker);
    emit trackerRegistered();
}

}  // namespace kv820
