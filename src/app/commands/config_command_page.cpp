#include "app/commands/config_command_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/commands/command_dispatcher.h"
#include "app/commands/command_page_controls.h"
#include "core/commands/config_command.h"
#include "core/commands/config_enabling_rules.h"
#include "core/commands/tracking_command_form.h"

namespace kv820 {

namespace {

// Eleven rows and four group boxes share the height of the command tab's page.
constexpr int PageMargin = 6;
constexpr int RowSpacing = 4;

QGroupBox* MakeGroup(const QString& title, const char* objectName, QWidget* parent) {
    auto* group = new QGroupBox(title, parent);
    group->setObjectName(QString::fromLatin1(objectName));
    return group;
}

void TightenGroup(QGroupBox* group) {
    group->layout()->setContentsMargins(8, 2, 8, 6);
    group->layout()->setSpacing(RowSpacing);
}

}  // namespace

ConfigCommandPage::ConfigCommandPage(CommandDispatcher& dispatcher, QWidget* parent)
    : QWidget(parent), dispatcher_(dispatcher) {
    setObjectName(QStringLiteral("configCommandPage"));
    createControls();
    layOutControls();
    connectControls();
    applyEnablingRules();
    dispatcher_.addSendButton(sendButton_);
}

void ConfigCommandPage::createControls() {
    parameterCombo_ = MakeCommandCombo(this, "parameterCombo", ConfigParameterNames);

    // The switch has no text of its own: the number's label beside it names both.
    defaultReturnNumberCheck_ = new QCheckBox(this);
    defaultReturnNumberCheck_->setObjectName(QStringLiteral("defaultReturnNumberCheck"));
    defaultReturnNumberCheck_->setAccessibleName(QStringLiteral("SMS Default Return Phone Number"));
    defaultReturnNumberEdit_ =
        MakeCommandEdit(this, "defaultReturnNumberEdit", ConfigFieldMaxLength);

    maximumGpsFixingTimeCombo_ =
        MakeCommandCombo(this, "maximumGpsFixingTimeCombo", MaximumGpsFixingTimeNames);
    maximumGpsFixingTimeCombo_->setCurrentIndex(DefaultMaximumGpsFixingTimeIndex);

    defaultReportModeCombo_ =
        MakeCommandCombo(this, "defaultReportModeCombo", DefaultReportModeNames);
    defaultReportModeCombo_->setCurrentIndex(static_cast<int>(DefaultReportMode::StopReport));
    reportIntervalEdit_ = MakeCommandEdit(this, "reportIntervalEdit", ConfigFieldMaxLength);
    reportFormatCombo_ = MakeCommandCombo(this, "reportFormatCombo", ReportFormatNames);
    reportFormatCombo_->setCurrentIndex(DefaultConfigReportFormatIndex);
    numberOfReportsEdit_ = MakeCommandEdit(this, "numberOfReportsEdit", ConfigFieldMaxLength);
    defaultModeReturnPhoneEdit_ =
        MakeCommandEdit(this, "defaultModeReturnPhoneEdit", ConfigFieldMaxLength);

    sosNumber1Edit_ = MakeCommandEdit(this, "sosNumber1Edit", ConfigFieldMaxLength);
    sosNumber2Edit_ = MakeCommandEdit(this, "sosNumber2Edit", ConfigFieldMaxLength);
    sosNumber3Edit_ = MakeCommandEdit(this, "sosNumber3Edit", ConfigFieldMaxLength);

    returnPhoneEdit_ = MakeCommandEdit(this, "returnPhoneEdit", ConfigFieldMaxLength);
    sendButton_ = new QPushButton(QStringLiteral("Send Configuration Command"), this);
    sendButton_->setObjectName(QStringLiteral("sendConfigurationCommandButton"));
    sendButton_->setDefault(true);
    sendButton_->setEnabled(false);
}

void ConfigCommandPage::layOutControls() {
    auto* parameter = new QHBoxLayout;
    parameter->addWidget(
        MakeBuddyLabel(QStringLiteral("Configuration Parameter :"), parameterCombo_));
    parameter->addWidget(parameterCombo_);
    parameter->addStretch();

    QGroupBox* returnGroup = MakeGroup(QStringLiteral("SMS Default Return Phone Number"),
                                       "defaultReturnNumberGroup", this);
    auto* returnRow = new QHBoxLayout(returnGroup);
    returnRow->addWidget(defaultReturnNumberCheck_);
    returnRow->addWidget(MakeBuddyLabel(QStringLiteral("SMS Default Return Phone Number :"),
                                        defaultReturnNumberEdit_));
    returnRow->addWidget(defaultReturnNumberEdit_, 1);

    QGroupBox* fixingGroup =
        MakeGroup(QStringLiteral("Maximum GPS Fixing Time"), "maximumGpsFixingTimeGroup", this);
    auto* fixingRow = new QHBoxLayout(fixingGroup);
    fixingRow->addWidget(
        MakeBuddyLabel(QStringLiteral("Maximum GPS Fixing Time :"), maximumGpsFixingTimeCombo_));
    fixingRow->addWidget(maximumGpsFixingTimeCombo_);
    fixingRow->addStretch();

    // The mode's list spans the row above the two columns of its fields; the long label of
    // the mode's own return number takes a row of its own.
    QGroupBox* modeGroup =
        MakeGroup(QStringLiteral("Default Report Mode Setting"), "defaultReportModeGroup", this);
    auto* mode = new QGridLayout(modeGroup);
    mode->addWidget(
        MakeBuddyLabel(QStringLiteral("Default Report Mode :"), defaultReportModeCombo_), 0, 0);
    mode->addWidget(defaultReportModeCombo_, 0, 1, 1, 3, Qt::AlignLeft);
    mode->addWidget(MakeBuddyLabel(QStringLiteral("Report Interval :"), reportIntervalEdit_), 1, 0);
    mode->addWidget(reportIntervalEdit_, 1, 1);
    mode->addWidget(MakeBuddyLabel(QStringLiteral("Report Format :"), reportFormatCombo_), 1, 2);
    mode->addWidget(reportFormatCombo_, 1, 3, Qt::AlignLeft);
    mode->addWidget(MakeBuddyLabel(QStringLiteral("Number of Reports :"), numberOfReportsEdit_), 2,
                    0);
    mode->addWidget(numberOfReportsEdit_, 2, 1);
    auto* modeReturn = new QHBoxLayout;
    modeReturn->addWidget(
        MakeBuddyLabel(QStringLiteral("Return Phone Number for Default Report Mode :"),
                       defaultModeReturnPhoneEdit_));
    modeReturn->addWidget(defaultModeReturnPhoneEdit_, 1);
    mode->addLayout(modeReturn, 3, 0, 1, 4);

    QGroupBox* sosGroup = MakeGroup(QStringLiteral("SOS Number"), "sosNumberGroup", this);
    auto* sos = new QGridLayout(sosGroup);
    sos->addWidget(MakeBuddyLabel(QStringLiteral("SOS Number 1 :"), sosNumber1Edit_), 0, 0);
    sos->addWidget(sosNumber1Edit_, 0, 1);
    sos->addWidget(MakeBuddyLabel(QStringLiteral("SOS Number 2 :"), sosNumber2Edit_), 0, 2);
    sos->addWidget(sosNumber2Edit_, 0, 3);
    sos->addWidget(MakeBuddyLabel(QStringLiteral("SOS Number 3 :"), sosNumber3Edit_), 1, 0);
    sos->addWidget(sosNumber3Edit_, 1, 1);

    auto* answer = new QHBoxLayout;
    answer->addWidget(MakeBuddyLabel(QStringLiteral("Return Phone Number :"), returnPhoneEdit_));
    answer->addWidget(returnPhoneEdit_, 1);
    answer->addWidget(sendButton_);

    auto* page = new QVBoxLayout(this);
    page->addLayout(parameter);
    for (QGroupBox* group : {returnGroup, fixingGroup, modeGroup, sosGroup}) {
        TightenGroup(group);
        page->addWidget(group);
    }
    page->addLayout(answer);
    page->addStretch();
    page->setContentsMargins(PageMargin, PageMargin, PageMargin, PageMargin);
    page->setSpacing(RowSpacing);
}

void ConfigCommandPage::connectControls() {
    for (QComboBox* combo : {parameterCombo_, defaultReportModeCombo_}) {
        connect(combo, &QComboBox::currentIndexChanged, this,
                &ConfigCommandPage::applyEnablingRules);
    }
    connect(defaultReturnNumberCheck_, &QCheckBox::toggled, this,
            &ConfigCommandPage::applyEnablingRules);
    connect(sendButton_, &QPushButton::clicked, this, &ConfigCommandPage::send);
}

void ConfigCommandPage::applyEnablingRules() {
    const ConfigControlStates states = ConfigEnablingRules(
        static_cast<ConfigParameter>(parameterCombo_->currentIndex()),
        defaultReturnNumberCheck_->isChecked(),
        static_cast<DefaultReportMode>(defaultReportModeCombo_->currentIndex()));
    defaultReturnNumberCheck_->setEnabled(states.defaultReturnSwitch);
    defaultReturnNumberEdit_->setEnabled(states.defaultReturnNumber);
    maximumGpsFixingTimeCombo_->setEnabled(states.maximumGpsFixingTime);
    defaultReportModeCombo_->setEnabled(states.defaultReportMode);
    defaultModeReturnPhoneEdit_->setEnabled(states.defaultReportMode);
    reportFormatCombo_->setEnabled(states.reportFormat);
    reportIntervalEdit_->setEnabled(states.reportIntervalAndCount);
    numberOfReportsEdit_->setEnabled(states.reportIntervalAndCount);
    for (QLineEdit* sos : {sosNumber1Edit_, sosNumber2Edit_, sosNumber3Edit_}) {
        sos->setEnabled(states.sosNumbers);
    }
}

ConfigCommandForm ConfigCommandPage::form() const {
    ConfigCommandForm form;
    form.parameter = static_cast<ConfigParameter>(parameterCombo_->currentIndex());
    form.defaultReturnSwitch = defaultReturnNumberCheck_->isChecked();
    form.defaultReturnNumber = defaultReturnNumberEdit_->text().toStdString();
    form.maximumGpsFixingTime = maximumGpsFixingTimeCombo_->currentText().toStdString();
    form.defaultReportMode =
        static_cast<DefaultReportMode>(defaultReportModeCombo_->currentIndex());
    form.reportInterval = reportIntervalEdit_->text().toStdString();
    form.reportFormatIndex = reportFormatCombo_->currentIndex();
    form.numberOfReports = numberOfReportsEdit_->text().toStdString();
    form.defaultModeReturnPhone = defaultModeReturnPhoneEdit_->text().toStdString();
    form.sosNumber1 = sosNumber1Edit_->text().toStdString();
    form.sosNumber2 = sosNumber2Edit_->text().toStdString();
    form.sosNumber3 = sosNumber3Edit_->text().toStdString();
    form.returnPhone = returnPhoneEdit_->text().toStdString();
    return form;
}

void ConfigCommandPage::send() {
    applyEnablingRules();
    dispatcher_.dispatch(PrepareConfigCommand(form(), dispatcher_.target()), this);
}

}  // namespace kv820
