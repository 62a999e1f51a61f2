#include "app/reception/headless_receiver.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <iterator>
#include <system_error>
#include <thread>

#include "app/common/database_messages.h"
#include "app/ports/qt_serial_link.h"
#include "app/reception/http_webhook_poster.h"
#include "app/reception/printing_session_listener.h"
#include "core/reception/sms_session_worker.h"
#include "core/store/database.h"
#include "core/store/database_error.h"
#include "core/store/schema.h"
#include "core/store/user_registry.h"
#include "core/store/user_store.h"

namespace kv820 {

namespace {

int signalPipe[2] = {-1, -1};

// Runs in whatever thread the signal interrupts: only async-signal-safe calls. The
// receiver's signal thread reads the number from the pipe and does the work.
extern "C" void forwardSignal(int number) {
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = savedErrno;
}

// SIGINT, SIGTERM and SIGHUP arrive through a pipe while it lives.
class SignalPipe {
  public:
    static constexpr int Handled[] = {SIGINT, SIGTERM, SIGHUP};

    SignalPipe() {
        if (::pipe2(signalPipe, O_CLOEXEC) != 0) {
            throw std::system_error(errno, std::generic_category(), "pipe2");
        }
        // A full pipe drops a signal rather than blocking its handler.
        ::fcntl(signalPipe[1], F_SETFL, O_NONBLOCK);
        struct sigaction action {};
        action.sa_handler = forwardSignal;
        action.sa_flags = SA_RESTART;
        sigemptyset(&action.sa_mask);
        for (std::size_t i = 0; i < std::size(Handled); ++i) {
            ::sigaction(Handled[i], &action, &previous_[i]);
        }
    }
    ~SignalPipe() {
        for (std::size_t i = 0; i < std::size(Handled); ++i) {
            ::sigaction(Handled[i], &previous_[i], nullptr);
        }
        ::close(signalPipe[0]);
        ::close(signalPipe[1]);
        signalPipe[0] = signalPipe[1] = -1;
    }
    SignalPipe(const SignalPipe&) = delete;
    SignalPipe& operator=(const SignalPipe&) = delete;

    // Waits for the next signal; 0 after wake() (or when the pipe fails).
    int next() {
        unsigned char byte = 0;
        ssize_t count;
        do {
            count = ::read(signalPipe[0], &byte, 1);
        } while (count < 0 && errno == EINTR);
        return count == 1 ? byte : 0;
    }
    void wake() { forwardSignal(0); }

  private:
    struct sigaction previous_[std::size(Handled)]{};
};

void loadRegisteredUsers(const std::string& database, UserRegistry& users,
                         SmsSessionListener& log) {
    try {
        Database db(database);
        LoadUsers(db, users);
    } catch (const DatabaseError&) {
        // Reception goes on; reports from unknown trackers are still stored when the
        // gpslog table can be reached, and stay in the modem otherwise.
        log.modemLog(std::string(UsersDatabaseFailureText) + "\r\n");
    }
}

}  // namespace

std::string portEntryFromArgument(std::string_view argument) {
    std::string entry(argument);
    if (entry.empty() || entry.back() != ':') {
        entry += ':';  // only this added ':' is taken off again when the port opens
    }
    return entry;
}

int runHeadlessReceiver(std::string_view argument, const std::string& logFile,
                        const std::string& database) {
    PrintingSessionListener listener(stdout);
    if (!logFile.empty() && !listener.openLogFile(logFile)) {
        return 1;
    }
    UserRegistry users;
    loadRegisteredUsers(database, users, listener);

    SignalPipe incoming;
    std::unique_ptr<SerialLink> link = makeSerialLink();
    SystemClock clock;
    HttpWebhookPoster webhook;
    SmsSessionWorker::Settings settings{portEntryFromArgument(argument), database};
    settings.webhook = &webhook;
    settings.registryToRefresh = &users;
    SmsSessionWorker worker(*link, clock, users, listener, settings);

    bool closeRequested = false;  // written by the signal thread, read after its join
    std::thread signalThread([&] {
        for (int number = incoming.next(); number != 0; number = incoming.next()) {
            if (number == SIGHUP) {
                listener.reopenLogFile();
            } else {
                closeRequested = true;
                worker.requestStop();
            }
        }
    });
    worker.run();
    incoming.wake();
    signalThread.join();
    listener.finishLine();
    // A failed start has printed "COM Port ERROR!!!", a lost modem its own text.
    return closeRequested ? 0 : 1;
}

}  // namespace kv820
