#include "app/records/report_display.h"

#include <QAction>
#include <QLineEdit>

#include "app/map/web_map_opener.h"
#include "app/records/report_list_view.h"
#include "app/records/report_table_model.h"
#include "app/records/sms_tracking_page.h"
#include "core/reception/sms_session_listener.h"
#include "core/store/database_error.h"

namespace kv820 {

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

const QString HistoryFailure = QStringLiteral("Track Gpslog Database open failure.");

}  // namespace

ReportDisplay::ReportDisplay(SmsTrackingPage* page, ConnectionSource gpslog,
                             QAction* viewTrackingPoints, QWidget* messageOwner, QObject* parent)
    : QObject(parent),
      page_(page),
      gpslog_(std::move(gpslog)),
      viewTrackingPoints_(viewTrackingPoints),
      messageOwner_(messageOwner) {
    // A later page of the history is read as the list scrolls; its failure is the
    // history's failure all the same.
    connect(page->reportList()->reportModel(), &ReportTableModel::fetchFailed, this,
            [this] { reportFailure(HistoryFailure); });
}

void ReportDisplay::show(const StoredReportEvent& event) {
    if (!page_) {
        return;
    }
    fillPanel(event);
    refreshHistory(event);
    openMapWhenViewing(event);
}

void ReportDisplay::fillPanel(const StoredReportEvent& event) {
    const PositionReport& report = event.report;
    const std::pair<const char*, std::string> values[] = {
        {"userNameEdit", report.userName},
        {"phoneNumberEdit", report.phone},
        {"moduleImeiEdit", report.imei},
        {"latitudeEdit", report.latitude},
        {"longitudeEdit", report.longitude},
        {"gpsStatusEdit", report.fixText},
        {"gpsAltitudeEdit", report.altitude},
        {"gpsSpeedEdit", report.speed},
        {"gpsDirectionEdit", report.direction},
        {"gpsDateTimeEdit", report.gpsMomentText()},
        {"receiveDateTimeEdit", report.receiveMomentText()},
    };
    for (const auto& [objectName, value] : values) {
        if (QLineEdit* field = page_->field(QString::fromLatin1(objectName))) {
            field->setText(Text(value));
        }
    }
}

void ReportDisplay::refreshHistory(const StoredReportEvent& event) {
    ReportTableModel* model = page_->reportList()->reportModel();
    try {
        Database* db = gpslog_ ? gpslog_() : nullptr;
        if (db == nullptr) {
            model->clear();
            throw DatabaseError("no gpslog connection");
        }
        model->showHistory(*db, event.historyRange, Text(event.report.userName));
    } catch (const DatabaseError&) {
        reportFailure(HistoryFailure);
    }
}

void ReportDisplay::openMapWhenViewing(const StoredReportEvent& event) {
    if (!viewTrackingPoints_ || !viewTrackingPoints_->isChecked()) {
        return;
    }
    if (!OpenWebMap(Text(event.report.longitude), Text(event.report.latitude))) {
        reportFailure(QStringLiteral("Show Google map is fail."));
    }
}

void ReportDisplay::setFailureLog(QPlainTextEdit* log) {
    failures_.setLog(log);
}

void ReportDisplay::reportFailure(const QString& text) {
    failures_.error(messageOwner_, text);
}

}  // namespace kv820
