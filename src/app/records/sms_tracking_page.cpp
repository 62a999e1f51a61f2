#include "app/records/sms_tracking_page.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "app/records/report_list_view.h"

namespace kv820 {

namespace {

struct PanelField {
    const char* label;
    const char* objectName;
};

constexpr PanelField PanelFields[] = {
    {"User Name :", "userNameEdit"},
    {"Phone Number :", "phoneNumberEdit"},
    {"Module IMEI :", "moduleImeiEdit"},
    {"Latitude :", "latitudeEdit"},
    {"Longitude :", "longitudeEdit"},
    {"GPS Status :", "gpsStatusEdit"},
    {"GPS Altitude :", "gpsAltitudeEdit"},
    {"GPS Speed :", "gpsSpeedEdit"},
    {"GPS Direction :", "gpsDirectionEdit"},
    {"GPS Date-Time :", "gpsDateTimeEdit"},
    {"Receive Date-Time :", "receiveDateTimeEdit"},
};
constexpr int PanelColumns = 3;

}  // namespace

SmsTrackingPage::SmsTrackingPage(QWidget* parent)
    : QWidget(parent), panel_(new QWidget(this)), reportList_(new ReportListView(this)) {
    setObjectName(QStringLiteral("smsTrackingPage"));
    reportList_->setObjectName(QStringLiteral("reportListView"));

    auto* grid = new QGridLayout(panel_);
    grid->setContentsMargins(8, 4, 8, 4);
    grid->setVerticalSpacing(4);
    auto* heading = new QLabel(QStringLiteral("SMS Information"), panel_);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    grid->addWidget(heading, 0, 0, 1, 2 * PanelColumns);
    int index = 0;
    for (const PanelField& f : PanelFields) {
        auto* label = new QLabel(QString::fromLatin1(f.label), panel_);
        auto* edit = new QLineEdit(panel_);
        edit->setReadOnly(true);
        edit->setObjectName(QString::fromLatin1(f.objectName));
        label->setBuddy(edit);
        const int row = 1 + index / PanelColumns;
        const int column = 2 * (index % PanelColumns);
        grid->addWidget(label, row, column, Qt::AlignRight);
        grid->addWidget(edit, row, column + 1);
        fields_.insert(edit->objectName(), edit);
        ++index;
    }
    for (int c = 0; c < PanelColumns; ++c) {
        grid->setColumnStretch(2 * c + 1, 1);
    }
}

void SmsTrackingPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    panel_->setGeometry(0, 0, width(), PanelHeight);
    reportList_->setGeometry(0, PanelHeight, width(), height() - PanelHeight);
}

}  // namespace kv820
