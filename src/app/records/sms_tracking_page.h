#pragma once

#include <QMap>
#include <QString>
#include <QWidget>

class QLineEdit;

namespace kv820 {

class ReportListView;

// The "SMS Tracking" page: the last received report in a panel of read-only fields, and
// that tracker's history below it.
class SmsTrackingPage : public QWidget {
    Q_OBJECT
  public:
    static constexpr int PanelHeight = 135;

    explicit SmsTrackingPage(QWidget* parent = nullptr);

    ReportListView* reportList() const { return reportList_; }
    // The panel field with the given objectName ("userNameEdit", ...).
    QLineEdit* field(const QString& objectName) const { return fields_.value(objectName); }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QWidget* panel_;
    ReportListView* reportList_;
    QMap<QString, QLineEdit*> fields_;
};

}  // namespace kv820
