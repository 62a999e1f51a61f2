#include "app/setup/setup_file_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/common/mnemonics.h"
#include "app/setup/setup_port_worker.h"
#include "app/setup/setup_session.h"
#include "app/setup/setup_text.h"
#include "core/setup/setup_form_validation.h"
#include "core/setup/time_zone_text.h"

namespace kv820 {

namespace {

// An edit reads what a 64-byte field holds; the report interval what a 16-byte one does.
constexpr int EditLength = 63;
constexpr int ReportIntervalLength = 15;
constexpr int FixingTimeEntries = 10;
constexpr int TimeZoneOnIndex = 1;

// A form row's label is its control's buddy (QFormLayout sets it).
QLineEdit* addEdit(QFormLayout* form, const QString& label, const char* objectName,
                   int maxLength = EditLength) {
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(objectName));
    edit->setMaxLength(maxLength);
    form->addRow(label, edit);
    return edit;
}

QComboBox* addCombo(QFormLayout* form, const QString& label, const char* objectName,
                    const QStringList& entries) {
    auto* combo = new QComboBox;
    combo->setObjectName(QString::fromLatin1(objectName));
    combo->addItems(entries);
    form->addRow(label, combo);
    return combo;
}

// Selects the entry at `index`, or the one at `fallback` when the list has no such entry.
void selectEntry(QComboBox* combo, int index, int fallback) {
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : fallback);
}

}  // namespace

SetupFileDialog::SetupFileDialog(const SetupForm& form, SetupSession& session, QWidget* parent)
    : QDialog(parent),
      session_(session),
      worker_(std::make_unique<SetupPortWorker>(session.devices)) {
    setObjectName(QStringLiteral("setupFileDialog"));
    setWindowTitle(QStringLiteral("Setup File"));
    setModal(false);
    buildControls();
    assignMnemonics(this);
    setForm(form);
}

SetupFileDialog::~SetupFileDialog() {
    // Ends a write in progress and joins its thread (closing the port) before the widgets go.
    worker_.reset();
}

void SetupFileDialog::buildControls() {
    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    for (QGroupBox* group : {buildInformation(), buildDefaultReturn(), buildFixingTime()}) {
        left->addWidget(group);
        inputs_ << group;
    }
    for (QGroupBox* group : {buildReportMode(), buildSosNumbers()}) {
        right->addWidget(group);
        inputs_ << group;
    }
    left->addStretch();
    right->addStretch();
    columns->addLayout(left);
    columns->addLayout(right);

    statusLine_ = new QLabel(this);
    statusLine_->setObjectName(QStringLiteral("setupFileStatusLine"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(statusLine_);
    layout->addLayout(buildButtons());
}

QGroupBox* SetupFileDialog::buildInformation() {
    auto* group = new QGroupBox(QStringLiteral("Information"), this);
    auto* form = new QFormLayout(group);
    firmwareVersion_ = addEdit(form, QStringLiteral("Firmware Version :"), "firmwareVersionEdit");
    firmwareVersion_->setReadOnly(true);
    moduleImei_ = addEdit(form, QStringLiteral("Module IMEI :"), "moduleImeiEdit");
    moduleImei_->setReadOnly(true);
    userName_ = addEdit(form, QStringLiteral("User Name :"), "userNameEdit");
    phoneNumber_ = addEdit(form, QStringLiteral("Phone Number :"), "phoneNumberEdit");
    timeZone_ = addCombo(form, QStringLiteral("Set Time Zone :"), "timeZoneCombo",
                         {QStringLiteral("Off"), QStringLiteral("On")});
    return group;
}

QGroupBox* SetupFileDialog::buildDefaultReturn() {
    auto* group = new QGroupBox(QStringLiteral("SMS Default Return Phone Number"), this);
    auto* form = new QFormLayout(group);
    defaultReturnCheck_ = new QCheckBox(group);
    defaultReturnCheck_->setObjectName(QStringLiteral("defaultReturnCheck"));
    defaultReturnCheck_->setAccessibleName(QStringLiteral("SMS Default Return Phone Number"));
    form->addRow(defaultReturnCheck_);
    defaultReturnPhone_ = addEdit(form, QStringLiteral("SMS Default Return Phone Number :"),
                                  "defaultReturnPhoneEdit");
    connect(defaultReturnCheck_, &QCheckBox::toggled, defaultReturnPhone_, &QWidget::setEnabled);
    return group;
}

QGroupBox* SetupFileDialog::buildFixingTime() {
    auto* group = new QGroupBox(QStringLiteral("Maximum GPS Fixing Time"), this);
    auto* form = new QFormLayout(group);
    QStringList seconds;
    for (int entry = 1; entry <= FixingTimeEntries; ++entry) {
        seconds << QString::number(entry);
    }
    maxFixingTime_ =
        addCombo(form, QStringLiteral("Maximum GPS Fixing Time :"), "maxFixingTimeCombo", seconds);
    return group;
}

QGroupBox* SetupFileDialog::buildReportMode() {
    auto* group = new QGroupBox(QStringLiteral("Default Report Mode Setting"), this);
    auto* form = new QFormLayout(group);
    reportMode_ = addCombo(form, QStringLiteral("Default Report Mode :"), "reportModeCombo",
                           {QStringLiteral("SMS Immediate Report"),
                            QStringLiteral("SMS Period Report"), QStringLiteral("Stop Report")});
    reportInterval_ = addEdit(form, QStringLiteral("Report Interval :"), "reportIntervalEdit",
                              ReportIntervalLength);
    reportFormat_ = addCombo(form, QStringLiteral("Report Format :"), "reportFormatCombo",
                             {QStringLiteral("Format 0"), QStringLiteral("Format 1")});
    numberOfReports_ = addEdit(form, QStringLiteral("Number of Reports :"), "numberOfReportsEdit");
    reportReturnPhone_ =
        addEdit(form, QStringLiteral("Return Phone Number for Default Report Mode :"),
                "reportReturnPhoneEdit");
    connect(reportMode_, &QComboBox::currentIndexChanged, this,
            &SetupFileDialog::applyReportModeRule);
    return group;
}

QGroupBox* SetupFileDialog::buildSosNumbers() {
    auto* group = new QGroupBox(QStringLiteral("SOS Number"), this);
    auto* form = new QFormLayout(group);
    const char* names[] = {"sosNumber1Edit", "sosNumber2Edit", "sosNumber3Edit"};
    for (int k = 0; k < 3; ++k) {
        sosNumbers_[k] = addEdit(form, QStringLiteral("SOS Number %1 :").arg(k + 1), names[k]);
    }
    return group;
}

QLayout* SetupFileDialog::buildButtons() {
    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("setupFileOkButton"));
    okButton_->setDefault(true);
    resetButton_ = new QPushButton(QStringLiteral("Reset Default"), this);
    resetButton_->setObjectName(QStringLiteral("resetDefaultButton"));
    resetButton_->setAutoDefault(false);
    cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("setupFileCancelButton"));
    cancelButton_->setAutoDefault(false);
    inputs_ << okButton_ << resetButton_ << cancelButton_;
    connect(okButton_, &QPushButton::clicked, this, &SetupFileDialog::submit);
    connect(resetButton_, &QPushButton::clicked, this, &SetupFileDialog::resetDefault);
    connect(cancelButton_, &QPushButton::clicked, this, &SetupFileDialog::reject);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(okButton_);
    row->addWidget(resetButton_);
    row->addWidget(cancelButton_);
    return row;
}

SetupForm SetupFileDialog::form() const {
    SetupForm form;
    form.firmwareVersion = setupBytes(firmwareVersion_->text());
    form.moduleImei = setupBytes(moduleImei_->text());
    form.phoneNumber = setupBytes(phoneNumber_->text());
    SetupFile& file = form.file;
    file.defaultReturnEnabled = defaultReturnCheck_->isChecked();
    file.maxGpsFixingTime = maxFixingTime_->currentIndex() + 1;
    file.userName = setupBytes(userName_->text());
    file.timeZoneOn = timeZone_->currentIndex() == TimeZoneOnIndex;
    file.reportMode = static_cast<ReportMode>(reportMode_->currentIndex());
    file.reportInterval = setupBytes(reportInterval_->text());
    file.reportFormat = reportFormat_->currentIndex();
    file.numberOfReports = setupBytes(numberOfReports_->text());
    for (int k = 0; k < 3; ++k) {
        file.sosNumbers[k] = setupBytes(sosNumbers_[k]->text());
    }
    file.defaultReturnPhone = setupBytes(defaultReturnPhone_->text());
    file.reportReturnPhone = setupBytes(reportReturnPhone_->text());
    return form;
}

void SetupFileDialog::setForm(const SetupForm& form) {
    const SetupFile defaults;
    const SetupFile& file = form.file;
    firmwareVersion_->setText(setupText(form.firmwareVersion));
    moduleImei_->setText(setupText(form.moduleImei));
    userName_->setText(setupText(file.userName));
    phoneNumber_->setText(setupText(form.phoneNumber));
    timeZone_->setCurrentIndex(file.timeZoneOn ? TimeZoneOnIndex : 0);
    defaultReturnCheck_->setChecked(file.defaultReturnEnabled);
    defaultReturnPhone_->setText(setupText(file.defaultReturnPhone));
    defaultReturnPhone_->setEnabled(file.defaultReturnEnabled);
    // A number outside a list (a tracker written by other means) shows the default entry.
    selectEntry(maxFixingTime_, file.maxGpsFixingTime - 1, defaults.maxGpsFixingTime - 1);
    selectEntry(reportMode_, static_cast<int>(file.reportMode),
                static_cast<int>(defaults.reportMode));
    reportInterval_->setText(setupText(file.reportInterval));
    selectEntry(reportFormat_, file.reportFormat, defaults.reportFormat);
    numberOfReports_->setText(setupText(file.numberOfReports));
    reportReturnPhone_->setText(setupText(file.reportReturnPhone));
    for (int k = 0; k < 3; ++k) {
        sosNumbers_[k]->setText(setupText(file.sosNumbers[k]));
    }
    applyReportModeRule();
}

void SetupFileDialog::applyReportModeRule() {
    const int selected = reportMode_->currentIndex();
    if (selected < 0) {
        return;
    }
    const ReportFieldsEnabled enabled =
        kv820::ApplyReportModeRule(static_cast<ReportMode>(selected));
    reportInterval_->setEnabled(enabled.reportInterval);
    numberOfReports_->setEnabled(enabled.numberOfReports);
    reportFormat_->setEnabled(enabled.reportFormat);
}

void SetupFileDialog::resetDefault() {
    SetupForm reset = form();
    kv820::resetDefault(reset);
    setForm(reset);
    defaultReturnPhone_->setEnabled(false);
    reportInterval_->setEnabled(false);
    reportFormat_->setEnabled(false);
}

void SetupFileDialog::setWriting(bool writing) {
    writing_ = writing;
    for (QWidget* input : inputs_) {
        input->setEnabled(!writing);
    }
}

void SetupFileDialog::submit() {
    if (writing_) {
        return;
    }
    statusLine_->setText(setupText(loadingText(1)));
    const SetupForm checked = form();
    if (const auto failure = ValidateSetupForm(checked, session_.registeredUsers())) {
        statusLine_->setText(setupText(LoadingFailedText));
        session_.services.alerts->error(this, setupText(*failure));
        statusLine_->clear();
        return;
    }
    setWriting(true);
    // The tracker's clock follows the computer's zone as it is when OK is pressed.
    const std::string timeZone = timeZoneText(currentUtcOffsetSeconds());
    const SetupContext context = session_.context;
    worker_->post([this, checked, context, timeZone](ComPort& port) {
        const SetupProgress progress = [this](std::string_view text) {
            QMetaObject::invokeMethod(
                this, [this, status = setupText(text)] { statusLine_->setText(status); },
                Qt::QueuedConnection);
        };
        const WriteOutcome outcome =
            WriteSetupFile(port, context, checked.file, timeZone, progress);
        QMetaObject::invokeMethod(
            this, [this, outcome, checked] { finishWrite(outcome, checked); },
            Qt::QueuedConnection);
    });
}

void SetupFileDialog::finishWrite(WriteOutcome outcome, const SetupForm& written) {
    if (outcome == WriteOutcome::Failed) {
        session_.services.alerts->error(this, setupText(writeOutcomeMessage(outcome)));
        setWriting(false);
        done(QDialog::Rejected);
        return;
    }
    // The tracker holds its new setup file: whatever the database says, the setup stands.
    session_.registerTracker(
        this, UserSlot{written.file.userName, written.phoneNumber, written.moduleImei});
    worker_->post([this](ComPort& port) {
        port.CloseComPort();
        QMetaObject::invokeMethod(
            this, [this] { finishSetup(); }, Qt::QueuedConnection);
    });
}

void SetupFileDialog::finishSetup() {
    statusLine_->setText(setupText(LoadingCompletedText));
    session_.services.alerts->information(this, QStringLiteral("KV820 Setup"),
                                          QStringLiteral("KV820 Setup is successful."));
    setWriting(false);
    done(QDialog::Accepted);
}

void SetupFileDialog::reject() {
    if (writing_) {
        return;
    }
    if (session_.services.alerts->question(
            this, QStringLiteral("KV820 Setup"),
            QStringLiteral("Are you sure you want to cancel the KV820 Setup?"))) {
        // Nothing holds the port between writes; the worker closes it if it ever does.
        QDialog::reject();
    }
}

}  // namespace kv820
