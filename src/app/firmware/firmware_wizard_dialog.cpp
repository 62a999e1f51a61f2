#include "app/firmware/firmware_wizard_dialog.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/common/mnemonics.h"
#include "app/ports/port_discovery.h"
#include "app/ports/scan_com_port_dialog.h"

namespace kv820 {

FirmwareWizardDialog::FirmwareWizardDialog(QWidget* parent)
    : QDialog(parent),
      portCombo_(new QComboBox(this)),
      scanButton_(new QPushButton(QStringLiteral("Scan COM Port"), this)),
      updateButton_(new QPushButton(QStringLiteral("Update"), this)) {
    setObjectName(QStringLiteral("firmwareWizardDialog"));
    setWindowTitle(QStringLiteral("KV820 Update"));
    portCombo_->setObjectName(QStringLiteral("firmwarePortCombo"));
    scanButton_->setObjectName(QStringLiteral("firmwareScanButton"));
    updateButton_->setObjectName(QStringLiteral("firmwareUpdateButton"));
    updateButton_->setAutoDefault(false);
    scanButton_->setAutoDefault(false);

    auto* step1 = new QGroupBox(QStringLiteral("Step 1"), this);
    auto* portRow = new QFormLayout;  // the label is the list's buddy
    portRow->addRow(QStringLiteral("COM Port :"), portCombo_);
    auto* step1Layout = new QVBoxLayout(step1);
    step1Layout->addLayout(portRow);
    step1Layout->addWidget(scanButton_, 0, Qt::AlignHCenter);

    auto* step2 = new QGroupBox(QStringLiteral("Step 2"), this);
    auto* step2Layout = new QVBoxLayout(step2);
    step2Layout->addWidget(updateButton_, 0, Qt::AlignHCenter);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(step1);
    layout->addWidget(step2);
    // 145 x 110 dialog units at least.
    const QFontMetrics metrics(font());
    setMinimumSize(145 * metrics.averageCharWidth() / 4, 110 * metrics.height() / 8);
    assignMnemonics(this);

    connect(scanButton_, &QPushButton::clicked, this, &FirmwareWizardDialog::scanPorts);
    connect(updateButton_, &QPushButton::clicked, this, &FirmwareWizardDialog::updateRequested);
}

void FirmwareWizardDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!portsListed_) {
        portsListed_ = true;
        fillPortCombo(portCombo_);
        pulseBreakOnPortsOf(portCombo_);
    }
}

void FirmwareWizardDialog::scanPorts() {
    ScanComPortDialog(ScanVariant::FirmwareWizard, portCombo_, this).exec();
}

}  // namespace kv820
