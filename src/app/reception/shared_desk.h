#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "core/alarms/tracker_events.h"
#include "core/common/growing_pause.h"
#include "core/reception/sms_session_listener.h"

class QSocketNotifier;

namespace kv820 {

class Clock;
class Database;
class ReportFeed;
class UserRegistry;

// A desk on a shared database: every report and event any receiver stores reaches the
// window as its own SMS session's would, within a moment. It keeps a connection of its own
// that listens for the receivers' notifications, and looks at once when one arrives; it also
// looks every few seconds, which is how it notices a lost connection. A lost connection is
// made anew after a growing pause, and what was stored meanwhile is read then.
class SharedDesk : public QObject {
    Q_OBJECT
  public:
    // A look without a notification, and the first pause before a new connection.
    static constexpr std::chrono::milliseconds LookInterval{5000};
    static constexpr std::chrono::milliseconds LongestRetryPause{60000};

    SharedDesk(std::string location, const UserRegistry& users, QObject* parent = nullptr);
    ~SharedDesk() override;

    // The clock of the look times and the pauses (the system's unless a test sets one).
    void setClock(Clock& clock) { clock_ = &clock; }
    // The desk's connection, for the commands it queues; null while there is none.
    Database* connection() { return db_.get(); }

    // Reads what was stored since the last look; makes a new connection first when the
    // last one was lost and its pause is over.
    void look();

  signals:
    void reportReceived(const kv820::StoredReportEvent& event);
    void eventsRaised(const std::vector<kv820::TrackerEvent>& events);
    // After each look: a queued command may have its outcome, or have waited too long.
    void commandsChanged();
    // Another desk changed the users or their number of slots.
    void usersChanged();
    // The connection was lost (with why) or is back (empty).
    void connectionChanged(const QString& failure);

  private:
    bool connectIfDue();
    void drop(const QString& why);

    std::string location_;
    const UserRegistry& users_;
    Clock* clock_;
    std::unique_ptr<Database> db_;
    std::unique_ptr<ReportFeed> feed_;
    QSocketNotifier* notifier_ = nullptr;
    QTimer timer_;
    std::chrono::milliseconds retryAt_{0};
    GrowingPause retryPause_{LookInterval, LongestRetryPause};
};

}  // namespace kv820
