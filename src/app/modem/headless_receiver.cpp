#include "app/modem/headless_receiver.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>

#include "app/modem/printing_session_listener.h"
#include "app/ports/qt_serial_link.h"
#include "core/common/interruptible_clock.h"
#include "core/modem/sms_session_worker.h"
#include "core/store/database.h"
#include "core/store/database_error.h"
#include "core/store/schema.h"
#include "core/store/user_registry.h"
#include "core/store/user_store.h"

namespace kv820 {

namespace {

constexpr std::chrono::milliseconds SignalPoll{20};

std::atomic<bool> closeRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

extern "C" void RequestClose(int) {
    closeRequested = true;
}

// Installs the close handlers for its lifetime.
class CloseSignals {
  public:
    CloseSignals() {
        closeRequested = false;
        previousInterrupt_ = std::signal(SIGINT, RequestClose);
        previousTerminate_ = std::signal(SIGTERM, RequestClose);
    }
    ~CloseSignals() {
        std::signal(SIGINT, previousInterrupt_);
        std::signal(SIGTERM, previousTerminate_);
    }

  private:
    void (*previousInterrupt_)(int);
    void (*previousTerminate_)(int);
};

void LoadRegisteredUsers(UserRegistry& users) {
    try {
        Database db(DatabaseFileName);
        LoadUsers(db, users);
    } catch (const DatabaseError&) {
        // Reception goes on; reports from unknown trackers are still stored when the
        // gpslog table can be reached, and stay in the modem otherwise.
        std::fputs("Users Database open failure.\n", stderr);
    }
}

}  // namespace

std::string PortEntryFromArgument(std::string_view argument) {
    std::string entry(argument);
    if (entry.empty() || entry.back() != ':') {
        entry += ':';  // only this added ':' is taken off again when the port opens
    }
    return entry;
}

int RunHeadlessReceiver(std::string_view argument) {
    UserRegistry users;
    LoadRegisteredUsers(users);

    CloseSignals closeSignals;
    PrintingSessionListener listener(stdout);
    std::unique_ptr<SerialLink> link = MakeSerialLink();
    InterruptibleClock clock;
    SmsSessionWorker worker(*link, clock, users, listener,
                            {PortEntryFromArgument(argument), DatabaseFileName});

    // A signal handler may only set a flag; this thread turns it into the close.
    std::atomic<bool> sessionOver{false};
    std::thread closer([&] {
        while (!sessionOver) {
            if (closeRequested) {
                worker.requestStop();
                clock.interrupt();
                return;
            }
            std::this_thread::sleep_for(SignalPoll);
        }
    });
    worker.run();
    sessionOver = true;
    closer.join();
    listener.finishLine();

    if (!listener.started()) {
        return 1;  // "COM Port ERROR!!!" is printed
    }
    return closeRequested ? 0 : 1;
}

}  // namespace kv820
