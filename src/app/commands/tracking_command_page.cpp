#include "app/commands/tracking_command_page.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/commands/command_dispatcher.h"
#include "app/commands/command_page_controls.h"
#include "core/commands/tracking_command.h"
#include "core/commands/tracking_enabling_rules.h"

namespace kv820 {

TrackingCommandPage::TrackingCommandPage(CommandDispatcher& dispatcher, QWidget* parent)
    : QWidget(parent), dispatcher_(dispatcher) {
    setObjectName(QStringLiteral("trackingCommandPage"));
    createControls();
    layOutControls();
    connectControls();
    applyEnablingRules(GeofenceShape::Rectangle);
    dispatcher_.addSendButton(sendButton_);
}

void TrackingCommandPage::createControls() {
    reportModeCombo_ = makeCommandCombo(this, "reportModeCombo", TrackingReportModeNames);
    reportIntervalEdit_ = makeCommandEdit(this, "reportIntervalEdit", TrackingFieldMaxLength);
    reportFormatCombo_ = makeCommandCombo(this, "reportFormatCombo", ReportFormatNames);
    numberOfReportsEdit_ = makeCommandEdit(this, "numberOfReportsEdit", TrackingFieldMaxLength);

    rectangleCheck_ = new QCheckBox(QStringLiteral("Rectangle :"), this);
    rectangleCheck_->setObjectName(QStringLiteral("rectangleCheck"));
    longitude1Edit_ = makeCommandEdit(this, "longitude1Edit", TrackingFieldMaxLength);
    latitude1Edit_ = makeCommandEdit(this, "latitude1Edit", TrackingFieldMaxLength);
    longitude2Edit_ = makeCommandEdit(this, "longitude2Edit", TrackingFieldMaxLength);
    latitude2Edit_ = makeCommandEdit(this, "latitude2Edit", TrackingFieldMaxLength);

    circleCheck_ = new QCheckBox(QStringLiteral("Circle :"), this);
    circleCheck_->setObjectName(QStringLiteral("circleCheck"));
    // The two boxes act as a pair of radio buttons: a click always leaves the clicked one
    // checked, even when it already was.
    shapeGroup_ = new QButtonGroup(this);
    shapeGroup_->addButton(rectangleCheck_, static_cast<int>(GeofenceShape::Rectangle));
    shapeGroup_->addButton(circleCheck_, static_cast<int>(GeofenceShape::Circle));
    circleLongitudeEdit_ = makeCommandEdit(this, "circleLongitudeEdit", TrackingFieldMaxLength);
    circleLatitudeEdit_ = makeCommandEdit(this, "circleLatitudeEdit", TrackingFieldMaxLength);
    radiusEdit_ = makeCommandEdit(this, "radiusEdit", TrackingFieldMaxLength);
    inOutCombo_ = makeCommandCombo(this, "inOutCombo", GeofenceInOutNames);

    returnPhoneEdit_ = makeCommandEdit(this, "returnPhoneEdit", TrackingReturnPhoneMaxLength);
    sendButton_ = new QPushButton(QStringLiteral("Send Tracking Command"), this);
    sendButton_->setObjectName(QStringLiteral("sendTrackingCommandButton"));
    sendButton_->setDefault(true);
    sendButton_->setEnabled(false);
}

void TrackingCommandPage::layOutControls() {
    // Each label is its field's buddy: QFormLayout sets it.
    auto* modeAndInterval = new QFormLayout;
    modeAndInterval->addRow(QStringLiteral("Report Mode :"), reportModeCombo_);
    modeAndInterval->addRow(QStringLiteral("Report Interval :"), reportIntervalEdit_);
    auto* formatAndNumber = new QFormLayout;
    formatAndNumber->addRow(QStringLiteral("Report Format :"), reportFormatCombo_);
    formatAndNumber->addRow(QStringLiteral("Number of Reports :"), numberOfReportsEdit_);
    auto* reporting = new QHBoxLayout;
    reporting->addLayout(modeAndInterval);
    reporting->addLayout(formatAndNumber);

    // The rectangle's corners on the left, the circle on the right, the boundary below both.
    auto* geofence = new QGroupBox(QStringLiteral("Geofence"), this);
    geofence->setObjectName(QStringLiteral("geofenceGroup"));
    auto* rectangle = new QFormLayout;
    rectangle->addRow(rectangleCheck_);
    rectangle->addRow(QStringLiteral("Longitude 1 :"), longitude1Edit_);
    rectangle->addRow(QStringLiteral("Latitude 1 :"), latitude1Edit_);
    rectangle->addRow(QStringLiteral("Longitude 2 :"), longitude2Edit_);
    rectangle->addRow(QStringLiteral("Latitude 2 :"), latitude2Edit_);
    auto* circle = new QFormLayout;
    circle->addRow(circleCheck_);
    circle->addRow(QStringLiteral("Longitude :"), circleLongitudeEdit_);
    circle->addRow(QStringLiteral("Latitude :"), circleLatitudeEdit_);
    auto* radius = new QHBoxLayout;
    radius->addWidget(radiusEdit_);
    radius->addWidget(new QLabel(QStringLiteral("meter"), geofence));
    circle->addRow(QStringLiteral("Radius :"), radius);
    qobject_cast<QLabel*>(circle->labelForField(radius))->setBuddy(radiusEdit_);
    auto* boundary = new QFormLayout;
    boundary->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    boundary->addRow(QStringLiteral("In or Out the boundary :"), inOutCombo_);
    auto* shapes = new QGridLayout(geofence);
    shapes->addLayout(rectangle, 0, 0, Qt::AlignTop);
    shapes->addLayout(circle, 0, 1, Qt::AlignTop);
    shapes->addLayout(boundary, 1, 0, 1, 2);

    auto* answer = new QFormLayout;
    answer->addRow(QStringLiteral("Return Phone Number :"), returnPhoneEdit_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(sendButton_);

    auto* page = new QVBoxLayout(this);
    page->addLayout(reporting);
    page->addWidget(geofence);
    page->addLayout(answer);
    page->addStretch();
    page->addLayout(buttons);
}

void TrackingCommandPage::connectControls() {
    connect(reportModeCombo_, &QComboBox::currentIndexChanged, this,
            [this] { applyEnablingRules(checkedShape()); });
    connect(shapeGroup_, &QButtonGroup::idClicked, this,
            [this](int shape) { applyEnablingRules(static_cast<GeofenceShape>(shape)); });
    connect(sendButton_, &QPushButton::clicked, this, &TrackingCommandPage::send);
}

GeofenceShape TrackingCommandPage::checkedShape() const {
    return static_cast<GeofenceShape>(shapeGroup_->checkedId());
}

void TrackingCommandPage::applyEnablingRules(GeofenceShape shape) {
    const auto mode = static_cast<TrackingReportMode>(reportModeCombo_->currentIndex());
    const TrackingControlStates states = trackingEnablingRules(mode, shape);
    reportIntervalEdit_->setEnabled(states.reportInterval);
    numberOfReportsEdit_->setEnabled(states.reportInterval);
    reportFormatCombo_->setEnabled(states.reportFormat);
    rectangleCheck_->setEnabled(states.geofenceChoice);
    circleCheck_->setEnabled(states.geofenceChoice);
    inOutCombo_->setEnabled(states.geofenceChoice);
    shapeGroup_->button(static_cast<int>(shape))->setChecked(true);
    for (QLineEdit* corner : {longitude1Edit_, latitude1Edit_, longitude2Edit_, latitude2Edit_}) {
        corner->setEnabled(states.rectangleCorners);
    }
    for (QLineEdit* circle : {circleLongitudeEdit_, circleLatitudeEdit_, radiusEdit_}) {
        circle->setEnabled(states.circleFields);
    }
}

TrackingCommandForm TrackingCommandPage::form() const {
    TrackingCommandForm form;
    form.reportMode = static_cast<TrackingReportMode>(reportModeCombo_->currentIndex());
    form.reportFormatIndex = reportFormatCombo_->currentIndex();
    form.reportInterval = reportIntervalEdit_->text().toStdString();
    form.numberOfReports = numberOfReportsEdit_->text().toStdString();
    form.shape = checkedShape();
    form.longitude1 = longitude1Edit_->text().toStdString();
    form.latitude1 = latitude1Edit_->text().toStdString();
    form.longitude2 = longitude2Edit_->text().toStdString();
    form.latitude2 = latitude2Edit_->text().toStdString();
    form.circleLongitude = circleLongitudeEdit_->text().toStdString();
    form.circleLatitude = circleLatitudeEdit_->text().toStdString();
    form.radius = radiusEdit_->text().toStdString();
    form.inOut = inOutCombo_->currentText().toStdString();
    form.returnPhone = returnPhoneEdit_->text().toStdString();
    return form;
}

void TrackingCommandPage::send() {
    applyEnablingRules(checkedShape());
    dispatcher_.dispatch(prepareTrackingCommand(form(), dispatcher_.target()), this);
}

}  // namespace kv820
