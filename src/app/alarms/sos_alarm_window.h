#pragma once

#include <QWidget>

#include "app/common/app_services.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace kv820 {

class SosAlarms;

// The non-modal window of the unacknowledged alarms. Of the oldest SOS report it tells who
// sent it (user and phone), when and where, how many further SOS reports wait, with a
// button that opens the point on the web map (through the services' opener); a list holds
// every alarm it shows (time, tracker, kind, details), and one button acknowledges them.
class SosAlarmWindow : public QWidget {
    Q_OBJECT
  public:
    SosAlarmWindow(SosAlarms& alarms, const AppServices& services, QWidget* parent = nullptr);

    // Shows the oldest alarm, in front and without taking the input of other windows.
    void showAlarm();

    QLabel* userLabel() const { return user_; }
    QLabel* phoneLabel() const { return phone_; }
    QLabel* timeLabel() const { return time_; }
    QLabel* positionLabel() const { return position_; }
    QLabel* waitingLabel() const { return waiting_; }
    QTableWidget* alarmList() const { return list_; }
    QPushButton* openMapButton() const { return openMap_; }
    QPushButton* acknowledgeButton() const { return acknowledge_; }

  protected:
    // Closing the window is no acknowledgement: the alarm stays and keeps beeping.
    void closeEvent(QCloseEvent* event) override;

  private:
    void fill();
    void fillSosReport();
    void fillList();
    void openMap();

    SosAlarms& alarms_;
    AppServices services_;
    QLabel* user_;
    QLabel* phone_;
    QLabel* time_;
    QLabel* position_;
    QLabel* waiting_;
    QLabel* heading_;
    QWidget* sosReport_;
    QTableWidget* list_;
    QPushButton* openMap_;
    QPushButton* acknowledge_;
};

}  // namespace kv820
