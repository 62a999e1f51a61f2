#include "app/records/search_records_page.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTimeEdit>

#include "app/records/report_list_view.h"

namespace kv820 {

namespace {

// Room right of the rightmost control, and the least of the result list, at the smallest size.
constexpr int MinimumMargin = 10, MinimumListHeight = 100;

QLabel* label(const char* text, QWidget* buddy, QWidget* parent, int x, int y) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setBuddy(buddy);
    label->setGeometry(x, y, 70, 24);
    return label;
}

}  // namespace

SearchRecordsPage::SearchRecordsPage(QWidget* parent)
    : QWidget(parent),
      startDate_(new QDateEdit(QDate::currentDate(), this)),
      startTime_(new QTimeEdit(QTime::currentTime(), this)),
      stopDate_(new QDateEdit(QDate::currentDate(), this)),
      stopTime_(new QTimeEdit(QTime::currentTime(), this)),
      userCombo_(new QComboBox(this)),
      inquireButton_(new QPushButton(QStringLiteral("Inquire Records"), this)),
      resultTabs_(new QTabWidget(this)),
      resultList_(new ReportListView) {
    setObjectName(QStringLiteral("searchRecordsPage"));
    auto* startGroup = new QGroupBox(QStringLiteral("Start Date Time"), this);
    startGroup->setGeometry(4, 6, 386, 56);
    auto* stopGroup = new QGroupBox(QStringLiteral("Stop Date Time"), this);
    stopGroup->setGeometry(4, 64, 386, 56);
    startGroup->lower();
    stopGroup->lower();

    startDate_->setObjectName(QStringLiteral("startDatePicker"));
    startTime_->setObjectName(QStringLiteral("startTimePicker"));
    stopDate_->setObjectName(QStringLiteral("stopDatePicker"));
    stopTime_->setObjectName(QStringLiteral("stopTimePicker"));
    for (QDateEdit* date : {startDate_, stopDate_}) {
        date->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    }
    for (QTimeEdit* time : {startTime_, stopTime_}) {
        time->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    }
    startDate_->setGeometry(80, 28, 103, 24);
    startTime_->setGeometry(258, 28, 120, 24);
    stopDate_->setGeometry(80, 86, 103, 24);
    stopTime_->setGeometry(258, 86, 120, 24);
    label("StartData", startDate_, this, 12, 28);
    label("StartTime", startTime_, this, 190, 28);
    label("StopData", stopDate_, this, 12, 86);
    label("StopTime", stopTime_, this, 190, 86);

    userCombo_->setObjectName(QStringLiteral("searchUserNameCombo"));
    auto* userLabel = new QLabel(QStringLiteral("User Name :"), this);
    userLabel->setBuddy(userCombo_);
    userLabel->setGeometry(410, 28, 80, 24);
    userCombo_->setGeometry(490, 28, 160, 24);
    inquireButton_->setObjectName(QStringLiteral("inquireRecordsButton"));
    inquireButton_->setGeometry(490, 84, 160, 28);

    resultList_->setObjectName(QStringLiteral("searchResultList"));
    resultList_->setAccessibleName(QStringLiteral("Search results"));
    resultTabs_->setObjectName(QStringLiteral("searchResultTabs"));
    resultTabs_->addTab(resultList_, QStringLiteral("Reports"));
    setMinimumSize(userCombo_->geometry().right() + 1 + MinimumMargin, ListTop + MinimumListHeight);
}

void SearchRecordsPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    resultTabs_->setGeometry(0, ListTop, width(), height() - ListTop);
}

}  // namespace kv820
