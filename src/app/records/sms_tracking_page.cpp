#include "app/records/sms_tracking_page.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <iterator>
#include <string>

#include "app/records/report_list_view.h"
#include "core/report/position_report.h"

namespace kv820 {

namespace {

struct PanelField {
    const char* label;
    const char* objectName;
    const char* longest;  // the widest value the box must show whole; "" for free texts
    std::string (*value)(const PositionReport& report);
};

constexpr const char* LongestMoment = "2026/12/07-00:45:46";
constexpr PanelField PanelFields[] = {
    {"User Name :", "userNameEdit", "", [](const PositionReport& r) { return r.userName; }},
    {"Phone Number :", "phoneNumberEdit", "", [](const PositionReport& r) { return r.phone; }},
    {"Module IMEI :", "moduleImeiEdit", "354612071234567",
     [](const PositionReport& r) { return r.imei; }},
    {"Latitude :", "latitudeEdit", "-33.508333",
     [](const PositionReport& r) { return r.gpsPosLat; }},
    {"Longitude :", "longitudeEdit", "-121.517081",
     [](const PositionReport& r) { return r.gpsPosLon; }},
    {"GPS Status :", "gpsStatusEdit", "", [](const PositionReport& r) { return r.gpsStatus; }},
    {"GPS Altitude :", "gpsAltitudeEdit", "",
     [](const PositionReport& r) { return r.gpsAltitude; }},
    {"GPS Speed :", "gpsSpeedEdit", "", [](const PositionReport& r) { return r.gpsSpeed; }},
    {"GPS Direction :", "gpsDirectionEdit", "",
     [](const PositionReport& r) { return r.gpsDirection; }},
    {"GPS Date-Time :", "gpsDateTimeEdit", LongestMoment,
     [](const PositionReport& r) { return r.gpsMomentText(); }},
    {"Receive Date-Time :", "receiveDateTimeEdit", LongestMoment,
     [](const PositionReport& r) { return r.receiveMomentText(); }},
};
static_assert(std::size(PanelFields) == SmsTrackingPage::PanelFieldCount);
constexpr int PanelColumns = 3;
constexpr int MinimumListHeight = 100;
constexpr int LineEditTextMargin = 2;  // QLineEdit's own margin on either side of its text

// Keeps `edit` wide enough to show `longest` whole at any window size.
void fitWidthTo(QLineEdit* edit, const QString& longest) {
    QStyleOptionFrame frame;
    frame.initFrom(edit);
    frame.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, edit);
    const QMargins margins = edit->textMargins();
    const QSize text(edit->fontMetrics().horizontalAdvance(longest) + 2 * LineEditTextMargin +
                         margins.left() + margins.right() + 1,  // + 1: the cursor
                     edit->fontMetrics().height());
    edit->setMinimumWidth(
        edit->style()->sizeFromContents(QStyle::CT_LineEdit, &frame, text, edit).width());
}

}  // namespace

SmsTrackingPage::SmsTrackingPage(QWidget* parent)
    : QWidget(parent), panel_(new QWidget(this)), reportList_(new ReportListView(this)) {
    setObjectName(QStringLiteral("smsTrackingPage"));
    reportList_->setObjectName(QStringLiteral("reportListView"));
    reportList_->setAccessibleName(QStringLiteral("SMS Tracking reports"));

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
        if (*f.longest != '\0') {
            fitWidthTo(edit, QString::fromLatin1(f.longest));
        }
        label->setBuddy(edit);
        const int row = 1 + index / PanelColumns;
        const int column = 2 * (index % PanelColumns);
        grid->addWidget(label, row, column, Qt::AlignRight);
        grid->addWidget(edit, row, column + 1);
        fields_[static_cast<std::size_t>(index)] = edit;
        ++index;
    }
    for (int c = 0; c < PanelColumns; ++c) {
        grid->setColumnStretch(2 * c + 1, 1);
    }
    setMinimumSize(panel_->minimumSizeHint().width(), PanelHeight + MinimumListHeight);
}

void SmsTrackingPage::showReport(const PositionReport& report) {
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        fields_[i]->setText(QString::fromStdString(PanelFields[i].value(report)));
    }
}

void SmsTrackingPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    panel_->setGeometry(0, 0, width(), PanelHeight);
    reportList_->setGeometry(0, PanelHeight, width(), height() - PanelHeight);
}

}  // namespace kv820
