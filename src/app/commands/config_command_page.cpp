#include "app/commands/config_command_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
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

QGroupBox* makeGroup(const QString& title, const char* objectName, QWidget* parent) {
    auto* group = new QGroupBox(title, parent);
    group->setObjectName(QString::fromLatin1(objectName));
    return group;
}

void tightenGroup(QGroupBox* group) {
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
    parameterCombo_ = makeCommandCombo(this, "parameterCombo", ConfigParameterNames);

    // The switch has no text of its own: the number's label beside it names both.
    defaultReturnNumberCheck_ = new QCheckBox(this);
    defaultReturnNumberCheck_->setObjectName(QStringLiteral("defaultReturnNumberCheck"));
    defaultReturnNumberCheck_->setAccessibleName(QStringLiteral("SMS Default Return Phone Number"));
    defaultReturnNumberEdit_ =
        makeCommandEdit(this, "defaultReturnNumberEdit", ConfigFieldMaxLength);

    maximumGpsFixingTimeCombo_ =
        makeCommandCombo(this, "maximumGpsFixingTimeCombo", MaximumGpsFixingTimeNames);
    maximumGpsFixingTimeCombo_->setCurrentIndex(DefaultMaximumGpsFixingTimeIndex);

    defaultReportModeCombo_ =
        makeCommandCombo(this, "defaultReportModeCombo", DefaultReportModeNames);
    defaultReportModeCombo_->setCurrentIndex(static_cast<int>(DefaultReportMode::StopReport));
    reportIntervalEdit_ = makeCommandEdit(this, "reportIntervalEdit", ConfigFieldMaxLength);
    reportFormatCombo_ = makeCommandCombo(this, "reportFormatCombo", ReportFormatNames);
    reportFormatCombo_->setCurrentIndex(DefaultConfigReportFormatIndex);
    numberOfReportsEdit_ = makeCommandEdit(this, "numberOfReportsEdit", ConfigFieldMaxLength);
    defaultModeReturnPhoneEdit_ =
        makeCommandEdit(this, "defaultModeReturnPhoneEdit", ConfigFieldMaxLength);

    sosNumber1Edit_ = makeCommandEdit(this, "sosNumber1Edit", ConfigFieldMaxLength);
    sosNumber2Edit_ = makeCommandEdit(this, "sosNumber2Edit", ConfigFieldMaxLength);
    sosNumber3Edit_ = makeCommandEdit(this, "sosNumber3Edit", ConfigFieldMaxLength);

    returnPhoneEdit_ = makeCommandEdit(this, "returnPhoneEdit", ConfigFieldMaxLength);
    sendButton_ = new QPushButton(QStringLiteral("Send Configuration Command"), this);
    sendButton_->setObjectName(QStringLiteral("sendConfigurationCommandButton"));
    sendButton_->setDefault(true);
    sendButton_->setEnabled(false);
}

void ConfigCommandPage::layOutControls() {
    // Each label is its field's buddy: QFormLayout sets it. A list keeps its own width.
    auto* parameter = new QFormLayout;
    parameter->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    parameter->addRow(QStringLiteral("Configuration Parameter :"), parameterCombo_);

    QGroupBox* returnGroup = makeGroup(QStringLiteral("SMS Default Return Phone Number"),
                                       "defaultReturnNumberGroup", this);
    auto* returnRow = new QHBoxLayout(returnGroup);
    returnRow->addWidget(defaultReturnNumberCheck_);
    auto* returnNumber = new QFormLayout;
    returnNumber->addRow(QStringLiteral("SMS Default Return Phone Number :"),
                         defaultReturnNumberEdit_);
    returnRow->addLayout(returnNumber, 1);

    QGroupBox* fixingGroup =
        makeGroup(QStringLiteral("Maximum GPS Fixing Time"), "maximumGpsFixingTimeGroup", this);
    auto* fixing = new QFormLayout(fixingGroup);
    fixing->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    fixing->addRow(QStringLiteral("Maximum GPS Fixing Time :"), maximumGpsFixingTimeCombo_);

    // The mode's list above the two columns of its fields; the long label of the mode's
    // own return number takes a row of its own.
    QGroupBox* modeGroup =
        makeGroup(QStringLiteral("Default Report Mode Setting"), "defaultReportModeGroup", this);
    auto* modeChoice = new QFormLayout;
    modeChoice->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    modeChoice->addRow(QStringLiteral("Default Report Mode :"), defaultReportModeCombo_);
    auto* modeFields = new QFormLayout;
    modeFields->addRow(QStringLiteral("Report Interval :"), reportIntervalEdit_);
    modeFields->addRow(QStringLiteral("Number of Reports :"), numberOfReportsEdit_);
    auto* format = new QFormLayout;
    format->addRow(QStringLiteral("Report Format :"), reportFormatCombo_);
    auto* modeReturn = new QFormLayout;
    modeReturn->addRow(QStringLiteral("Return Phone Number for Default Report Mode :"),
                       defaultModeReturnPhoneEdit_);
    auto* mode = new QGridLayout(modeGroup);
    mode->addLayout(modeChoice, 0, 0, 1, 2);
    mode->addLayout(modeFields, 1, 0);
    mode->addLayout(format, 1, 1, Qt::AlignTop);
    mode->addLayout(modeReturn, 2, 0, 1, 2);

    QGroupBox* sosGroup = makeGroup(QStringLiteral("SOS Number"), "sosNumberGroup", this);
    auto* sos13 = new QFormLayout;
    sos13->addRow(QStringLiteral("SOS Number 1 :"), sosNumber1Edit_);
    sos13->addRow(QStringLiteral("SOS Number 3 :"), sosNumber3Edit_);
    auto* sos2 = new QFormLayout;
    sos2->addRow(QStringLiteral("SOS Number 2 :"), sosNumber2Edit_);
    auto* sos = new QGridLayout(sosGroup);
    sos->addLayout(sos13, 0, 0);
    sos->addLayout(sos2, 0, 1, Qt::AlignTop);

    auto* answerNumber = new QFormLayout;
    answerNumber->addRow(QStringLiteral("Return Phone Number :"), returnPhoneEdit_);
    auto* answer = new QHBoxLayout;
    answer->addLayout(answerNumber, 1);
    answer->addWidget(sendButton_);

    auto* page = new QVBoxLayout(this);
    page->addLayout(parameter);
    for (QGroupBox* group : {returnGroup, fixingGroup, modeGroup, sosGroup}) {
        tightenGroup(group);
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
    const ConfigControlStates states = configEnablingRules(
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
    dispatcher_.dispatch(prepareConfigCommand(form(), dispatcher_.target()), this);
}

}  // namespace kv820
