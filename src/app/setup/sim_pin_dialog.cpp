#include "app/setup/sim_pin_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/common/mnemonics.h"
#include "app/setup/setup_port_worker.h"
#include "app/setup/setup_session.h"
#include "app/setup/setup_text.h"

namespace kv820 {

namespace {
// The edit keeps what the module could ever be sent, and no more.
constexpr int PinEditLength = 63;
}  // namespace

SimPinDialog::SimPinDialog(SetupSession& session, QWidget* parent)
    : QDialog(parent),
      session_(session),
      worker_(std::make_unique<SetupPortWorker>(session.devices)) {
    setObjectName(QStringLiteral("simPinDialog"));
    setWindowTitle(QStringLiteral("Enter SIM PIN"));
    setWindowModality(Qt::WindowModal);
    buildControls();
    assignMnemonics(this);
}

SimPinDialog::~SimPinDialog() {
    worker_.reset();
}

void SimPinDialog::buildControls() {
    auto* prompt = new QLabel(QStringLiteral("Please enter the password of SIM PIN"), this);
    pinEdit_ = new QLineEdit(this);
    pinEdit_->setObjectName(QStringLiteral("simPinEdit"));
    pinEdit_->setMaxLength(PinEditLength);

    auto* buttons = new QDialogButtonBox(this);
    okButton_ = buttons->addButton(QDialogButtonBox::Ok);
    okButton_->setObjectName(QStringLiteral("simPinOkButton"));
    cancelButton_ = buttons->addButton(QDialogButtonBox::Cancel);
    cancelButton_->setObjectName(QStringLiteral("simPinCancelButton"));

    auto* pinRow = new QFormLayout;  // the label is the edit's buddy
    pinRow->addRow(QStringLiteral("SIM PIN :"), pinEdit_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addLayout(pinRow);
    layout->addWidget(buttons);

    connect(okButton_, &QPushButton::clicked, this, &SimPinDialog::enterPin);
    connect(cancelButton_, &QPushButton::clicked, this, &SimPinDialog::reject);
}

void SimPinDialog::setAsking(bool asking) {
    asking_ = asking;
    pinEdit_->setReadOnly(asking);
    okButton_->setEnabled(!asking);
    cancelButton_->setEnabled(!asking);
}

void SimPinDialog::enterPin() {
    if (asking_) {
        return;
    }
    setAsking(true);
    const std::string typed = setupBytes(pinEdit_->text());
    SetupContext context = session_.context;
    worker_->post([this, typed, context](ComPort& port) mutable {
        const SimPinOutcome outcome = enterSimPin(port, typed, context);
        QMetaObject::invokeMethod(
            this, [this, outcome, context] { finishEntry(outcome, context); },
            Qt::QueuedConnection);
    });
}

void SimPinDialog::finishEntry(SimPinOutcome outcome, const SetupContext& context) {
    session_.context = context;
    setAsking(false);
    const QString message = setupText(simPinOutcomeMessage(outcome));
    if (outcome == SimPinOutcome::Accepted) {
        session_.services.alerts->information(this, setupText(simPinOutcomeCaption(outcome)),
                                              message);
    } else {
        session_.services.alerts->error(this, message);
    }
    if (simPinDialogStaysOpen(outcome)) {
        return;
    }
    done(outcome == SimPinOutcome::Accepted ? QDialog::Accepted : QDialog::Rejected);
}

void SimPinDialog::reject() {
    // The port is open only while the module is asked, and the dialog waits for that.
    if (!asking_) {
        QDialog::reject();
    }
}

}  // namespace kv820
