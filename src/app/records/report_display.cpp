#include "app/records/report_display.h"

#include <QAction>

#include "app/map/map_messages.h"
#include "app/map/web_map_opener.h"
#include "app/records/report_list_view.h"
#include "app/records/report_table_model.h"
#include "app/records/sms_tracking_page.h"
#include "core/reception/sms_session_listener.h"
#include "core/records/records_messages.h"
#include "core/store/database_error.h"

namespace kv820 {

namespace {

QString text(const std::string& text) {
    return QString::fromStdString(text);
}

const QString HistoryFailure = QString::fromLatin1(TrackGpslogFailureText);

}  // namespace

ReportDisplay::ReportDisplay(SmsTrackingPage* page, ConnectionSource gpslog,
                             QAction* viewTrackingPoints, QWidget* messageOwner,
                             const AppServices& services, QObject* parent)
    : QObject(parent),
      page_(page),
      gpslog_(std::move(gpslog)),
      viewTrackingPoints_(viewTrackingPoints),
      messageOwner_(messageOwner),
      webMap_(services.webMap),
      failures_(*services.alerts) {
    // A later page of the history is read as the list scrolls; its failure is the
    // history's failure all the same.
    connect(page->reportList()->reportModel(), &ReportTableModel::fetchFailed, this,
            [this] { reportFailure(HistoryFailure); });
}

void ReportDisplay::show(const StoredReportEvent& event) {
    if (!page_) {
        return;
    }
    page_->showReport(event.report);
    refreshHistory(event);
    openMapWhenViewing(event);
}

void ReportDisplay::refreshHistory(const StoredReportEvent& event) {
    ReportTableModel* model = page_->reportList()->reportModel();
    try {
        Database* db = gpslog_ ? gpslog_() : nullptr;
        if (db == nullptr) {
            model->clear();
            throw DatabaseError("no gpslog connection");
        }
        model->showHistory(*db, event.historyRange, text(event.report.userName));
    } catch (const DatabaseError&) {
        reportFailure(HistoryFailure);
    }
}

void ReportDisplay::openMapWhenViewing(const StoredReportEvent& event) {
    if (!viewTrackingPoints_ || !viewTrackingPoints_->isChecked()) {
        return;
    }
    if (!OpenWebMap(*webMap_, text(event.report.gpsPosLon), text(event.report.gpsPosLat))) {
        reportFailure(QString::fromLatin1(ShowWebMapFailureText));
    }
}

void ReportDisplay::setFailureLog(QPlainTextEdit* log) {
    failures_.setLog(log);
}

void ReportDisplay::reportFailure(const QString& text) {
    failures_.error(messageOwner_, text);
}

}  // namespace kv820
