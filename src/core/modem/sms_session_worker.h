#pragma once

#include <atomic>
#include <chrono>
#include <ctime>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "core/modem/com_port.h"
#include "core/modem/modem_line_reader.h"
#include "core/modem/new_sms_handler.h"
#include "core/modem/sms_session_listener.h"

namespace kv820 {

class Database;
class GpslogStore;

// An exchange on the session's port (sending a command SMS, for one), posted from another
// thread. It runs whole on the session's thread, with no modem line read in between.
using SessionJob = std::function<void(ComPort&)>;

// The SMS session: the one owner of the modem port while it is open. run() starts the
// modem, then reads its lines until stopped, handing every "+CMTI" announcement (read as a
// line or found inside a reply) to ProcessNewSms, and running posted jobs between line
// attempts. It uses its own database connection on its own thread. The application runs
// it on a thread; the headless receiver runs it on its main thread.
class SmsSessionWorker {
  public:
    struct Settings {
        std::string portEntry;     // "COM Port :" entry, for example "ttyUSB0:"
        std::string databasePath;  // the gpslog database file
    };

    static constexpr std::chrono::milliseconds LinePause{100};
    // Logged when the port's device goes away during the session, which then ends.
    static constexpr std::string_view PortVanishedText =
        "COM Port is gone; SMS session closed.\r\n";

    SmsSessionWorker(SerialLink& link, Clock& clock, const UserRegistry& users,
                     SmsSessionListener& listener, Settings settings);
    ~SmsSessionWorker();
    SmsSessionWorker(const SmsSessionWorker&) = delete;
    SmsSessionWorker& operator=(const SmsSessionWorker&) = delete;

    // Blocks until the session ends: after a failed start, or within about 600 ms of
    // requestStop() (plus a new SMS being handled at that moment). Closes the port.
    void run();

    // Any thread. The session ends at its next check; queued jobs that have not started
    // are dropped.
    void requestStop();
    bool stopRequested() const { return stop_.load(); }

    // Any thread. False (and the job is dropped) once the session is stopping.
    bool post(SessionJob job);

    // The local time the history range is taken around; replaceable for tests.
    std::function<std::tm()> localNow;

  private:
    void openDatabase();
    GpslogStore* store();
    void readLoop();
    void runQueuedJobs();
    void handleQueuedAnnouncements();
    void handleLine(const std::string& line);
    void publish(const NewSmsOutcome& outcome);
    void finish();

    ComPort port_;
    const UserRegistry& users_;
    SmsSessionListener& listener_;
    Settings settings_;
    ModemLineReader reader_;
    std::unique_ptr<Database> db_;
    std::unique_ptr<GpslogStore> store_;
    std::atomic<bool> stop_{false};
    std::mutex jobsMutex_;
    std::deque<SessionJob> jobs_;
};

}  // namespace kv820
