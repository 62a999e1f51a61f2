#include "app/alarms/sos_alarm_window.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/alarms/sos_alarms.h"
#include "app/map/map_messages.h"
#include "app/map/web_map_opener.h"
#include "core/report/report_kinds.h"

namespace kv820 {

namespace {

QLabel* valueLabel(const char* objectName) {
    auto* label = new QLabel;
    label->setObjectName(QString::fromLatin1(objectName));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setTextFormat(Qt::PlainText);  // names come from the trackers' registration
    return label;
}

QTableWidget* makeAlarmList() {
    auto* list = new QTableWidget(0, 4);
    list->setObjectName(QStringLiteral("alarmList"));
    list->setAccessibleName(QStringLiteral("Alarms"));
    list->setHorizontalHeaderLabels({QStringLiteral("Time"), QStringLiteral("Tracker"),
                                     QStringLiteral("Kind"), QStringLiteral("Details")});
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->verticalHeader()->hide();
    list->horizontalHeader()->setStretchLastSection(true);
    list->setMinimumSize(480, 120);
    return list;
}

QString text(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

SosAlarmWindow::SosAlarmWindow(SosAlarms& alarms, const AppServices& services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint),
      alarms_(alarms),
      services_(services),
      user_(valueLabel("sosUserLabel")),
      phone_(valueLabel("sosPhoneLabel")),
      time_(valueLabel("sosTimeLabel")),
      position_(valueLabel("sosPositionLabel")),
      waiting_(valueLabel("sosWaitingLabel")),
      heading_(new QLabel),
      sosReport_(new QWidget),
      list_(makeAlarmList()),
      openMap_(new QPushButton(QStringLiteral("Open Map"))),
      acknowledge_(new QPushButton(QStringLiteral("Acknowledge"))) {
    setObjectName(QStringLiteral("sosAlarmWindow"));
    setWindowTitle(QStringLiteral("SOS Alarm"));
    setWindowModality(Qt::NonModal);
    openMap_->setObjectName(QStringLiteral("sosOpenMapButton"));
    acknowledge_->setObjectName(QStringLiteral("sosAcknowledgeButton"));

    heading_->setObjectName(QStringLiteral("alarmHeading"));
    heading_->setStyleSheet(QStringLiteral("color: red; font-weight: bold; font-size: 16pt;"));
    auto* form = new QFormLayout(sosReport_);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(QStringLiteral("User Name :"), user_);
    form->addRow(QStringLiteral("Phone :"), phone_);
    form->addRow(QStringLiteral("Time :"), time_);
    form->addRow(QStringLiteral("Position :"), position_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(openMap_);
    buttons->addWidget(acknowledge_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addWidget(sosReport_);
    layout->addWidget(waiting_);
    layout->addWidget(list_, 1);
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
    const bool sos = alarms_.count() > 0;
    setWindowTitle(sos ? QStringLiteral("SOS Alarm") : QStringLiteral("Alarm"));
    heading_->setText(sos ? QString::fromLatin1(SosReportText) : QStringLiteral("Alarm"));
    sosReport_->setVisible(sos);
    openMap_->setVisible(sos);
    if (sos) {
        fillSosReport();
    } else {
        waiting_->clear();
    }
    fillList();
}

void SosAlarmWindow::fillSosReport() {
    const PositionReport& report = alarms_.oldest();
    user_->setText(text(report.userName));
    phone_->setText(text(report.phone));
    time_->setText(text(report.gpsMomentText()));
    position_->setText(text(report.gpsPosLat) + QStringLiteral(", ") + text(report.gpsPosLon));
    const std::size_t others = alarms_.count() - 1;
    waiting_->setText(others == 0 ? QString()
                                  : QStringLiteral("%1 more SOS alarm(s) waiting.").arg(others));
}

void SosAlarmWindow::fillList() {
    const std::vector<SosAlarms::ShownAlarm> shown = alarms_.shownAlarms();
    list_->setRowCount(static_cast<int>(shown.size()));
    for (int row = 0; row < list_->rowCount(); ++row) {
        const TrackerEvent& event = shown[row].event;
        const std::string_view kind = eventKindText(event.kind);
        const QString cells[] = {text(event.time), text(shown[row].userName),
                                 QString::fromUtf8(kind.data(), qsizetype(kind.size())),
                                 text(event.details)};
        for (int column = 0; column < 4; ++column) {
            list_->setItem(row, column, new QTableWidgetItem(cells[column]));
        }
    }
    list_->resizeColumnsToContents();
}

void SosAlarmWindow::openMap() {
    if (alarms_.count() == 0) {
        return;
    }
    const PositionReport& report = alarms_.oldest();
    if (!OpenWebMap(*services_.webMap, text(report.gpsPosLon), text(report.gpsPosLat))) {
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
