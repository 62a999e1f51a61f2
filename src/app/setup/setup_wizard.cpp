#include "app/setup/setup_wizard.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/common/mnemonics.h"
#include "app/ports/port_discovery.h"
#include "app/ports/scan_com_port_dialog.h"
#include "app/setup/setup_port_worker.h"
#include "app/setup/setup_session.h"
#include "app/setup/setup_text.h"
#include "app/setup/sim_pin_dialog.h"
#include "core/ports/break_pulse.h"

namespace kv820 {

namespace {

std::vector<std::string> entriesOf(const QComboBox* combo) {
    std::vector<std::string> entries;
    for (int i = 0; i < combo->count(); ++i) {
        entries.push_back(setupBytes(combo->itemText(i)));
    }
    return entries;
}

}  // namespace

SetupWizard::SetupWizard(SetupSession& session, QWidget* parent)
    : QDialog(parent),
      session_(session),
      worker_(std::make_unique<SetupPortWorker>(session.devices)) {
    setObjectName(QStringLiteral("setupWizard"));
    setWindowTitle(QStringLiteral("KV820 Setup"));
    setModal(false);
    buildControls();
    assignMnemonics(this);
    fillPortCombo(portCombo_);
    pulseBreakOnPortsOf(portCombo_);
}

SetupWizard::~SetupWizard() {
    // Ends a connect in progress and joins its thread before the widgets go.
    worker_.reset();
}

void SetupWizard::buildControls() {
    auto* step1 = new QGroupBox(QStringLiteral("Step 1"), this);
    auto* portLabel = new QLabel(QStringLiteral("COM Port :"), step1);
    portCombo_ = new QComboBox(step1);
    portCombo_->setObjectName(QStringLiteral("setupComPortCombo"));
    portCombo_->setMinimumWidth(140);
    portLabel->setBuddy(portCombo_);
    scanButton_ = new QPushButton(QStringLiteral("Scan COM Port"), step1);
    scanButton_->setObjectName(QStringLiteral("setupScanComPortButton"));
    auto* step1Layout = new QGridLayout(step1);
    step1Layout->addWidget(portLabel, 0, 0);
    step1Layout->addWidget(portCombo_, 0, 1);
    step1Layout->addWidget(scanButton_, 0, 2);

    auto* step2 = new QGroupBox(QStringLiteral("Step 2"), this);
    setupButton_ = new QPushButton(QStringLiteral("Setup"), step2);
    setupButton_->setObjectName(QStringLiteral("setupButton"));
    setupButton_->setAutoDefault(false);
    auto* step2Layout = new QVBoxLayout(step2);
    step2Layout->addWidget(setupButton_);

    statusLine_ = new QLabel(this);
    statusLine_->setObjectName(QStringLiteral("setupStatusLine"));
    statusLine_->setMinimumWidth(260);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(step1);
    layout->addWidget(step2);
    layout->addWidget(statusLine_);

    connect(setupButton_, &QPushButton::clicked, this, &SetupWizard::runSetup);
    connect(scanButton_, &QPushButton::clicked, this, &SetupWizard::scanPorts);
}

void SetupWizard::setConnecting(bool connecting) {
    connecting_ = connecting;
    for (QWidget* input : {static_cast<QWidget*>(portCombo_), static_cast<QWidget*>(scanButton_),
                           static_cast<QWidget*>(setupButton_)}) {
        input->setEnabled(!connecting);
    }
}

void SetupWizard::runSetup() {
    if (connecting_) {
        return;
    }
    setConnecting(true);
    const std::string entry = setupBytes(portCombo_->currentText());
    const std::vector<std::string> listed = entriesOf(portCombo_);
    const UserRegistry::Snapshot users = session_.registeredUsers();
    SetupContext context = session_.context;
    auto makeLink = session_.devices.makeLink;
    worker_->post([this, entry, listed, users, context, makeLink](ComPort& port) mutable {
        ConnectTrackerHooks hooks;
        hooks.progress = [this](std::string_view text) {
            QMetaObject::invokeMethod(
                this, [this, status = setupText(text)] { statusLine_->setText(status); },
                Qt::QueuedConnection);
        };
        hooks.pulseBreakOnListedPorts = [&listed, &makeLink] {
            PulseBreakOnListedPorts(listed, makeLink);
        };
        const ConnectResult result = ConnectTracker(port, entry, context, users, hooks);
        QMetaObject::invokeMethod(
            this, [this, result, context] { finishConnect(result, context); },
            Qt::QueuedConnection);
    });
}

void SetupWizard::scanPorts() {
    // An idle wizard holds no port: every connect closes it before it returns.
    ScanComPortDialog(ScanVariant::SetupWizard, portCombo_, this).exec();
}

void SetupWizard::finishConnect(const ConnectResult& result, const SetupContext& context) {
    session_.context = context;
    setConnecting(false);
    switch (result.outcome) {
        case ConnectOutcome::SetupFileRead:
            handOverSetupFile(result);
            return;
        case ConnectOutcome::SetupFileDamaged:
            // What the tracker held is gone; the operator starts from the defaults.
            session_.services.alerts->error(this, setupText(connectOutcomeMessage(result.outcome)));
            handOverSetupFile(result);
            return;
        case ConnectOutcome::SimPinRequired:
            openSimPinDialog();
            return;
        default:
            session_.services.alerts->error(
                this, setupText(connectOutcomeMessage(result.outcome,
                                                      session_.registeredUsers().users.size())));
            return;
    }
}

void SetupWizard::handOverSetupFile(const ConnectResult& result) {
    SetupForm form;
    form.firmwareVersion = result.firmwareVersion;
    form.moduleImei = result.imei;
    form.phoneNumber = result.registeredPhone;
    form.file = result.setupFile;
    // The tracker's own copy of the name is not shown: the registered name is the one
    // reports and commands know it by.
    form.file.userName = result.registeredName;
    emit setupFileReady(form);
    done(QDialog::Accepted);
}

void SetupWizard::openSimPinDialog() {
    auto* dialog = new SimPinDialog(session_, this);
    connect(dialog, &QDialog::finished, dialog, &QObject::deleteLater);
    // A PIN the module took leads straight back into the connect sequence.
    connect(dialog, &QDialog::accepted, this, &SetupWizard::runSetup, Qt::QueuedConnection);
    dialog->open();
}

void SetupWizard::reject() {
    // The close box and Escape end the wizard, but never in the middle of a connect.
    if (!connecting_) {
        QDialog::reject();
    }
}

}  // namespace kv820
