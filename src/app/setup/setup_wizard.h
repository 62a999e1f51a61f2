#pragma once

#include <QDialog>
#include <memory>

#include "core/setup/connect_tracker.h"
#include "core/setup/setup_form.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace kv820 {

class SetupPortWorker;
struct SetupSession;

// The "KV820 Setup" wizard: Step 1 picks the tracker's port, Step 2 ("Setup") connects
// to the tracker on a worker thread, identifies it and its SIM and reads its setup file.
// On success it hands the file to the Setup File dialog (setupFileReady) and ends; a SIM
// that wants its PIN opens the SIM PIN dialog over it; a refusal leaves it open and idle.
// While connecting it shows the progress and takes no other input.
class SetupWizard : public QDialog {
    Q_OBJECT
  public:
    explicit SetupWizard(SetupSession& session, QWidget* parent = nullptr);
    ~SetupWizard() override;

    QComboBox* portCombo() const { return portCombo_; }
    QPushButton* scanButton() const { return scanButton_; }
    QPushButton* setupButton() const { return setupButton_; }
    QLabel* statusLine() const { return statusLine_; }
    bool isConnecting() const { return connecting_; }

  public slots:
    // "Setup": runs the connect sequence on the selected port.
    void runSetup();
    // "Scan COM Port": finds the tracker's port and selects it in the list.
    void scanPorts();
    // The close box and Escape; never in the middle of a connect.
    void reject() override;

  signals:
    // The tracker's setup file, or the defaults for a damaged one, with its identity: the
    // Setup File dialog takes over and this wizard ends.
    void setupFileReady(const kv820::SetupForm& form);

  private:
    void buildControls();
    void setConnecting(bool connecting);
    void finishConnect(const ConnectResult& result, const SetupContext& context);
    void handOverSetupFile(const ConnectResult& result);
    void openSimPinDialog();

    SetupSession& session_;
    std::unique_ptr<SetupPortWorker> worker_;
    QComboBox* portCombo_ = nullptr;
    QPushButton* scanButton_ = nullptr;
    QPushButton* setupButton_ = nullptr;
    QLabel* statusLine_ = nullptr;
    bool connecting_ = false;
};

}  // namespace kv820
