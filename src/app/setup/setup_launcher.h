#pragma once

#include <QObject>
#include <QPointer>

#include "app/setup/setup_file_dialog.h"
#include "app/setup/setup_session.h"
#include "app/setup/setup_wizard.h"
#include "core/setup/setup_form.h"

namespace kv820 {

class AppContext;

// Runs tracker setups over the main window for the whole program run: opens the wizard,
// hands over to the Setup File dialog, keeps the main window disabled while either is
// open, and registers the tracker at the end. It holds the one setup session, so a SIM
// PIN typed once is known to every later setup.
class SetupLauncher : public QObject {
    Q_OBJECT
  public:
    // `window` is disabled while a setup window is open and owns the launcher.
    SetupLauncher(AppContext& context, QWidget* window);
    ~SetupLauncher() override;

    // Tests put a scripted line or a faster clock here.
    void setDevices(PortDevices devices) { session_.devices = std::move(devices); }
    const SetupSession& session() const { return session_; }

    SetupWizard* wizard() const { return wizard_; }
    SetupFileDialog* setupFileDialog() const { return setupFileDialog_; }

  public slots:
    // "KV820 Setup": opens the wizard, or brings the open setup window to the front.
    void open();

  signals:
    // A tracker was registered and the users reloaded: a name may have changed.
    void trackerRegistered();

  private:
    void openSetupFile(const SetupForm& form);
    void showOverDisabledWindow(QWidget* setupWindow);
    void endOf(QWidget* setupWindow);
    void registerTracker(QWidget* owner, const UserSlot& tracker);

    AppContext& context_;
    QWidget* window_;
    SetupSession session_;
    QPointer<SetupWizard> wizard_;
    QPointer<SetupFileDialog> setupFileDialog_;
};

}  // namespace kv820
