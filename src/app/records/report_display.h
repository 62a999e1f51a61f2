#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

#include "app/common/app_services.h"
#include "app/common/one_message_per_kind.h"

class QAction;
class QPlainTextEdit;
class QWidget;

namespace kv820 {

class Database;
class SmsTrackingPage;
struct StoredReportEvent;

// Shows a received report on the "SMS Tracking" page: the panel of the last report, the
// reporting tracker's recent history below it, and, while "View Tracking Points" is
// checked, the point on the web map. Runs on the UI thread with its gpslog connection.
// Its failures never hold up the reception: each kind of message shows once at a time,
// without waiting, and repeats meanwhile are counted in the failure log.
class ReportDisplay : public QObject {
    Q_OBJECT
  public:
    using ConnectionSource = std::function<Database*()>;

    ReportDisplay(SmsTrackingPage* page, ConnectionSource gpslog, QAction* viewTrackingPoints,
                  QWidget* messageOwner, const AppServices& services, QObject* parent = nullptr);

    void show(const StoredReportEvent& event);
    // Where repeated failures are counted (the modem log).
    void setFailureLog(QPlainTextEdit* log);

  private:
    void refreshHistory(const StoredReportEvent& event);
    void openMapWhenViewing(const StoredReportEvent& event);
    void reportFailure(const QString& text);

    QPointer<SmsTrackingPage> page_;
    ConnectionSource gpslog_;
    QPointer<QAction> viewTrackingPoints_;
    QPointer<QWidget> messageOwner_;
    WebMapOpener* webMap_;
    OneMessagePerKind failures_;
};

}  // namespace kv820
