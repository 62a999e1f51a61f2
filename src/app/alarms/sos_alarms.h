#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/alarms/alarm_beeper.h"
#include "app/alarms/alarm_kind_choice.h"
#include "app/alarms/sos_alarm_window.h"
#include "app/common/app_services.h"
#include "core/reception/sms_session_listener.h"
#include "core/report/position_report.h"

class QWidget;

namespace kv820 {

class Database;
class UserRegistry;

// The alarms not yet acknowledged by the operator. An SOS report cannot be missed: it opens
// a non-modal alarm window (reception goes on behind it) and beeps every few seconds until
// every alarm is acknowledged; SOS reports queue oldest first and none is lost. The events
// of the kinds the operator chose (fences, speed, silence) raise the same window and sound.
// The window shows the oldest SOS report and every other alarm; acknowledging acknowledges
// what it shows and records who did it and when in the events table.
class SosAlarms : public QObject {
    Q_OBJECT
  public:
    static constexpr int BeepIntervalMs = 2000;

    // An alarm as the window lists it.
    struct ShownAlarm {
        TrackerEvent event;
        std::string userName;
    };

    // The alarm window is made as a window of its own over `windowParent`; its messages
    // and its web map are the services'.
    SosAlarms(const AppServices& services, QWidget* windowParent, QObject* parent = nullptr);
    ~SosAlarms() override;

    // Where acknowledgements are recorded and the trackers' user names come from; without
    // them an acknowledgement is recorded nowhere and the IMEI names a tracker.
    void setEventStore(std::function<Database*()> database, const UserRegistry* users);
    void setKindChoice(const AlarmKindChoice& choice) { choice_ = choice; }
    const AlarmKindChoice& kindChoice() const { return choice_; }

    // For each stored report: an SOS report raises its alarm (reports of any other kind
    // are ignored), and so do its events of the chosen kinds.
    void raise(const StoredReportEvent& stored);
    void raise(const PositionReport& report);
    // Events raised without a report (a tracker gone silent).
    void raiseEvents(const std::vector<TrackerEvent>& events);
    // The operator saw what the window shows: the next SOS report is shown, or the alarm
    // ends.
    void acknowledge();

    bool empty() const { return pending_.empty() && events_.empty(); }
    // The SOS reports not yet acknowledged.
    std::size_t count() const { return pending_.size(); }
    // The trackers with an unacknowledged SOS alarm, oldest alarm first, each once.
    std::vector<std::string> pendingImeis() const;
    // The oldest unacknowledged SOS report; only when count() is not 0.
    const PositionReport& oldest() const { return pending_.front().report; }
    // What the window shows: the oldest SOS report, then the other alarms as they came.
    std::vector<ShownAlarm> shownAlarms() const;

    SosAlarmWindow* window() const { return window_; }
    void setBeeper(std::unique_ptr<AlarmBeeper> beeper) { beeper_ = std::move(beeper); }
    bool beeping() const { return beepTimer_.isActive(); }

  signals:
    // The alarms changed: one was raised or acknowledged.
    void changed();

  private:
    struct SosReport {
        PositionReport report;
        std::vector<TrackerEvent> sosEvents;  // as stored with the report
    };

    bool addEvents(const std::vector<TrackerEvent>& events);
    void sound();
    void recordAcknowledgement(const std::vector<TrackerEvent>& events);
    std::string userNameOf(const std::string& imei) const;
    void beep();
    SosAlarmWindow* ensureWindow();

    AppServices services_;
    QPointer<QWidget> windowParent_;
    QPointer<SosAlarmWindow> window_;
    std::unique_ptr<AlarmBeeper> beeper_;
    std::function<Database*()> database_;
    const UserRegistry* users_ = nullptr;
    AlarmKindChoice choice_;
    std::deque<SosReport> pending_;
    std::vector<ShownAlarm> events_;
    QTimer beepTimer_;
};

}  // namespace kv820
