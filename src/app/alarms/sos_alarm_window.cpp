#include "app/alarms/sos_alarm_window.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/alarms/sos_alarms.h"
#include "app/map/map_messages.h"
#include "app/map/web_map_opener.h"
#include "core/report/report_kinds.h"

namespace kv820 {

namespace {

QLabel* ValueLabel(const char* objectName) {
    auto* label = new QLabel;
    label->setObjectName(QString::fromLatin1(objectName));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

SosAlarmWindow::SosAlarmWindow(SosAlarms& alarms, const AppServices& services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint),
      alarms_(alarms),
      services_(services),
      user_(ValueLabel("sosUserLabel")),
      phone_(ValueLabel("sosPhoneLabel")),
      time_(ValueLabel("sosTimeLabel")),
      position_(ValueLabel("sosPositionLabel")),
      waiting_(ValueLabel("sosWaitingLabel")),
      openMap_(new QPushButton(QStringLiteral("Open Map"))),
      acknowledge_(new QPushButton(QStringLiteral("Acknowledge"))) {
    setObjectName(QStringLiteral("sosAlarmWindow"));
    setWindowTitle(QStringLiteral("SOS Alarm"));
    setWindowModality(Qt::NonModal);
    openMap_->setObjectName(QStringLiteral("sosOpenMapButton"));
    acknowledge_->setObjectName(QStringLiteral("sosAcknowledgeButton"));

    auto* heading = new QLabel(QString::fromLatin1(SosReportText));
    heading->setStyleSheet(QStringLiteral("color: red; font-weight: bold; font-size: 16pt;"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("User Name :"), user_);
    form->addRow(QStringLiteral("Phone :"), phone_);
    form->addRow(QStringLiteral("Time :"), time_);
    form->addRow(QStringLiteral("Position :"), position_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(openMap_);
    buttons->addWidget(acknowledge_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(form);
    layout->addWidget(waiting_);
    layout->addLayout(buttons);

    connect(openMap_, &QPushButton::clicked, this, &SosAlarmWindow::openMap);
    connect(acknowledge_, &QPushButton::clicked, this, [this] { alarms_.acknowledge(); });
}

void SosAlarmWindow::showAlarm() {
    fill();
    show();
    raise();
}

void SosAlarmWindow::fill() {
    if (alarms_.empty()) {
        return;
    }
    const PositionReport& report = alarms_.oldest();
    user_->setText(Text(report.userName));
    phone_->setText(Text(report.phone));
    time_->setText(Text(report.gpsMomentText()));
    position_->setText(Text(report.latitude) + QStringLiteral(", ") + Text(report.longitude));
    const std::size_t others = alarms_.count() - 1;
    waiting_->setText(others == 0 ? QString()
                                  : QStringLiteral("%1 more SOS alarm(s) waiting.").arg(others));
}

void SosAlarmWindow::openMap() {
    if (alarms_.empty()) {
        return;
    }
    const PositionReport& report = alarms_.oldest();
    if (!OpenWebMap(*services_.webMap, Text(report.longitude), Text(report.latitude))) {
        services_.alerts->error(this, QString::fromLatin1(OpenWebMapFailureText));
    }
}

void SosAlarmWindow::closeEvent(QCloseEvent* event) {
    if (!alarms_.empty()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

}  // namespace kv820
