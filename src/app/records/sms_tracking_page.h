#pragma once

#include <QWidget>
#include <array>
#include <cstddef>

class QLineEdit;

namespace kv820 {

class ReportListView;
struct PositionReport;

// The "SMS Tracking" page: the last received report in a panel of read-only fields, and
// that tracker's history below it.
class SmsTrackingPage : public QWidget {
    Q_OBJECT
  public:
    static constexpr int PanelHeight = 135;
    static constexpr std::size_t PanelFieldCount = 11;

    explicit SmsTrackingPage(QWidget* parent = nullptr);

    ReportListView* reportList() const { return reportList_; }
    // Shows `report` in the panel, every field from the report's own member.
    void showReport(const PositionReport& report);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QWidget* panel_;
    ReportListView* reportList_;
    // In the panel's order: user name, phone, IMEI, latitude, longitude, fix, altitude,
    // speed, direction, GPS moment, receive moment.
    std::array<QLineEdit*, PanelFieldCount> fields_{};
};

}  // namespace kv820
