#pragma once

#include <chrono>
#include <ctime>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <stop_token>
#include <string>
#include <string_view>

#include "core/at/com_port.h"
#include "core/common/growing_pause.h"
#include "core/common/stoppable_clock.h"
#include "core/reception/event_forwarder.h"
#include "core/reception/modem_health.h"
#include "core/reception/new_sms_handler.h"
#include "core/reception/sms_modem_init.h"
#include "core/reception/sms_session_listener.h"

namespace kv820 {

class CommandQueue;
class Database;
class GpslogStore;
class ReportAlarms;

// An exchange on the session's port (sending a command SMS, for one), posted from another
// thread. It runs whole on the session's thread, with no modem event taken in between, and
// learns how the modem takes messages.
using SessionJob = std::function<void(ComPort&, MessageMode)>;

// The SMS session: the one owner of the modem port while it is open. run() starts the
// modem, handles the received messages already stored in it (they arrived while no
// session was open, or their announcement was missed), then takes the port's events until
// stopped: every line is logged, and every announcement (wherever the port found it) goes
// to ProcessNewSms; posted jobs run between the waits for events. When the port goes away
// underneath it (USB cable pulled) or the modem stops answering, the session waits for the
// modem: it tries to start it again with growing pauses, and once it is back it lists the
// stored messages and goes on receiving. The forwards of the events it stores go out
// between the waits, once no received message waits. It uses its own database connection on its own
// thread. The application runs it on a thread; the headless
// receiver runs it on its main thread.
class SmsSessionWorker {
  public:
    static constexpr std::chrono::milliseconds LinePause{100};
    // After this long without a line from the modem it is asked "at": a hung modem is
    // noticed even though its port stays open.
    static constexpr std::chrono::milliseconds QuietCheck{60000};
    // How often the signal is asked for.
    static constexpr std::chrono::milliseconds HealthInterval{300000};
    // How often the message storage is looked at: a message whose announcement was lost
    // (the modem re-registered, the line dropped it) is found within this.
    static constexpr std::chrono::milliseconds StoragePoll{30000};
    // How often silent trackers are looked for.
    static constexpr std::chrono::milliseconds OverdueCheck{60000};
    // The pauses between two attempts to bring a lost modem back: 1 s, 2 s, 4 s, ... 60 s.
    static constexpr std::chrono::milliseconds FirstRetryPause{1000};
    static constexpr std::chrono::milliseconds LongestRetryPause{60000};
    static constexpr std::string_view ModemLostText =
        "The modem is gone or does not answer. Waiting for it to come back.\r\n";
    static constexpr std::string_view ModemBackText = "The modem is back. Reception goes on.\r\n";
    static constexpr std::string_view DatabaseLostText =
        "The database cannot be reached: reports wait in the modem until it is back.\r\n";
    static constexpr std::string_view DatabaseBackText = "The database is reached again.\r\n";

    struct Settings {
        std::string portEntry;         // "COM Port :" entry, for example "ttyUSB0:"
        std::string databaseLocation;  // the store: a file path or a PostgreSQL URL
        // The times above; an end-to-end test shortens them so as not to wait for minutes.
        std::chrono::milliseconds quietCheck = QuietCheck;
        std::chrono::milliseconds healthInterval = HealthInterval;
        std::chrono::milliseconds storagePoll = StoragePoll;
        std::chrono::milliseconds overdueCheck = OverdueCheck;
        // Carries the webhook calls of forwarded events; none: they fail and are logged.
        WebhookPoster* webhook = nullptr;
        // A receiver without a window gives its registry (the `users` it is made with) here:
        // it is read again whenever another program changed the users. A window's session
        // leaves this empty; the window reads its users itself.
        UserRegistry* registryToRefresh = nullptr;
    };

    SmsSessionWorker(SerialLink& link, Clock& clock, const UserRegistry& users,
                     SmsSessionListener& listener, Settings settings);
    ~SmsSessionWorker();
    SmsSessionWorker(const SmsSessionWorker&) = delete;
    SmsSessionWorker& operator=(const SmsSessionWorker&) = delete;

    // Blocks until the session ends: after a failed first start, or within about 600 ms of
    // requestStop() (plus a new SMS being handled at that moment). Closes the port.
    void run();

    // Any thread. The session ends at its next check; queued jobs that have not started
    // are dropped.
    void requestStop();
    bool stopRequested() const { return stop_.stop_requested(); }

    // Any thread. False (and the job is dropped) once the session is stopping.
    bool post(SessionJob job);

    // The local time the history range is taken around; replaceable for tests.
    std::function<std::tm()> localNow;

  private:
    void openDatabase();
    void closeDatabase();
    void dropLostServerConnection();
    void reconnectDatabaseWhenDue();
    void scheduleDatabaseRetry();
    GpslogStore* store();
    bool startModem();
    void catchUpStoredMessages();
    void catchUpStore(const std::string& store, bool unannounced);
    void pollStorage();
    void checkOverdue();
    void forwardEvents();
    void sendQueuedCommands();
    void takeNotifications();
    bool commandsWaiting();
    void refreshUsers();
    void noteStorage(const std::vector<StoreUse>& uses);
    std::size_t leftInModemIn(const std::string& store) const;
    void readLoop();
    bool modemLost();
    bool modemAnswers();
    bool waitForModem();
    void checkHealth();
    void setHealth(SessionHealth health);
    bool portGone();
    void runQueuedJobs();
    void handleHeldEvents();
    NewSmsContext newSmsContext();
    void handleEvent(const ModemEvent& event);
    void handleMessage(const MessagePlace& place);
    void logReply(std::string_view reply);
    void publish(const NewSmsOutcome& outcome);
    void finish();

    std::stop_source stop_;
    StoppableClock clock_;  // the given clock, whose waits a stop ends
    ComPort port_;
    const UserRegistry& users_;
    SmsSessionListener& listener_;
    Settings settings_;
    std::unique_ptr<Database> db_;
    std::unique_ptr<GpslogStore> store_;
    std::unique_ptr<ReportAlarms> alarms_;       // null when the alarm tables cannot be had
    std::unique_ptr<EventForwarder> forwarder_;  // with alarms_
    // The commands desks queue on a shared database; null on a file.
    std::unique_ptr<CommandQueue> commands_;
    // What a shared database's notifications said, until acted on.
    bool commandsNotified_ = false;
    bool usersNotified_ = false;
    std::optional<std::chrono::milliseconds> lastNotificationSweep_;
    // The file's data version when the users were last read (another connection's commit
    // changes it).
    std::optional<std::int64_t> usersVersion_;
    bool forwardsQueued_ = false;  // events were stored since the last look
    bool portGone_ = false;
    SessionHealth health_;
    std::chrono::milliseconds lastHeard_{0};
    std::optional<std::chrono::milliseconds> lastHealthCheck_;
    std::optional<std::chrono::milliseconds> lastStoragePoll_;
    std::optional<std::chrono::milliseconds> lastOverdueCheck_;
    // A shared database that failed is reached anew after a pause that grows while it stays
    // away (as the modem's: 1 s, 2 s, 4 s, ... 60 s); its reports wait in the modem.
    std::optional<std::chrono::milliseconds> databaseRetryAt_;
    GrowingPause databaseRetryPause_{FirstRetryPause, LongestRetryPause};
    SmsModemSetup modem_;
    ConcatenatedMessages parts_;
    // Messages the session leaves in the modem: the operator's drafts and sent messages,
    // and those kept on purpose (see NewSmsOutcome::keptForGood). The storage poll lists a
    // store only when it holds more than these.
    std::set<MessagePlace> leftInModem_;
    // Messages kept for a reason that may pass (a database that was locked, a read cut
    // short): each poll that lists their store tries them again.
    std::set<MessagePlace> keptForNow_;
    std::mutex jobsMutex_;
    std::deque<SessionJob> jobs_;
};

}  // namespace kv820
