#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "app/alarms/alarm_beeper.h"
#include "app/alarms/sos_alarm_window.h"
#include "app/common/app_services.h"
#include "core/report/position_report.h"

class QWidget;

namespace kv820 {

// The SOS alarms not yet acknowledged by the operator, oldest first. An SOS report
// cannot be missed: it opens a non-modal alarm window (reception goes on behind it) and
// beeps every few seconds until every alarm is acknowledged. Alarms queue; none is lost.
class SosAlarms : public QObject {
    Q_OBJECT
  public:
    static constexpr int BeepIntervalMs = 2000;

    // The alarm window is made as a window of its own over `windowParent`; its messages
    // and its web map are the services'.
    SosAlarms(const AppServices& services, QWidget* windowParent, QObject* parent = nullptr);
    ~SosAlarms() override;

    // For each stored report; reports of any other kind are ignored.
    void raise(const PositionReport& report);
    // The operator saw the oldest alarm: the next one is shown, or the alarm ends.
    void acknowledge();

    bool empty() const { return pending_.empty(); }
    std::size_t count() const { return pending_.size(); }
    // The trackers with an unacknowledged alarm, oldest alarm first, each once.
    std::vector<std::string> pendingImeis() const;
    // The oldest unacknowledged alarm; only when not empty.
    const PositionReport& oldest() const { return pending_.front(); }

    SosAlarmWindow* window() const { return window_; }
    void setBeeper(std::unique_ptr<AlarmBeeper> beeper) { beeper_ = std::move(beeper); }
    bool beeping() const { return beepTimer_.isActive(); }

  signals:
    // The queue changed: an alarm was raised or acknowledged.
    void changed();

  private:
    void beep();
    SosAlarmWindow* ensureWindow();

    AppServices services_;
    QPointer<QWidget> windowParent_;
    QPointer<SosAlarmWindow> window_;
    std::unique_ptr<AlarmBeeper> beeper_;
    std::deque<PositionReport> pending_;
    QTimer beepTimer_;
};

}  // namespace kv820
