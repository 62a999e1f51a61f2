#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "sim/at_device_simulator.h"
#include "sim/modem_simulator.h"
#include "sim/reply_schedule.h"
#include "sim/tracker_module_simulator.h"

namespace kv820::sim {

// Serves one simulated device on a pseudo-terminal: the program opens devicePath() like
// a serial port. A thread feeds what the program writes into the device and writes the
// device's answers back: a command's echo at once, its answer after the command's reply
// delay (see ReplySchedule), unsolicited output ("+CMTI") as it comes. The simulator keeps its own
// descriptor of the terminal open, so the program may close and reopen the port freely.
// Every call below is thread-safe.
class PtySimulator {
  public:
    // Throws std::system_error when no pseudo-terminal can be made.
    explicit PtySimulator(std::unique_ptr<AtDeviceSimulator> device);
    ~PtySimulator();
    PtySimulator(const PtySimulator&) = delete;
    PtySimulator& operator=(const PtySimulator&) = delete;

    static std::unique_ptr<PtySimulator> modem(
        std::size_t capacity = ModemSimulator::DefaultCapacity);
    static std::unique_ptr<PtySimulator> tracker(TrackerModuleConfig config = {});

    // The path to open, e.g. /dev/pts/5.
    const std::string& devicePath() const { return path_; }
    // Makes `link` a symbolic link that always names the current terminal, as a udev rule
    // names a USB adapter: after reappear() it names the new one. Call before the program
    // opens the port; the link is removed with the simulator.
    void setStablePath(const std::string& link);

    // The answer delay of every command no rule names, and of the other answers.
    void setReplyDelay(std::chrono::milliseconds delay);
    // Commands that answer late, each counted from the moment its line arrived.
    void addReplyDelay(ReplyDelayRule rule);
    // Where the random delays of a range start from: the same seed gives the same delays.
    void setReplySeed(unsigned seed);

    using Moment = std::chrono::steady_clock::time_point;
    // Moments a benchmark or test may want to know. Called on the simulator's thread,
    // outside its lock (a watcher may use withDevice), so keep them short.
    struct TrafficWatcher {
        // A command line arrived from the program (without its CR).
        std::function<void(std::string_view line, Moment received)> commandReceived;
        // An unsolicited "+CMTI" line was written to the program (without its CR LF).
        std::function<void(std::string_view line, Moment written)> announcementWritten;
    };
    void setTrafficWatcher(TrafficWatcher watcher);

    // Runs `f` on the device under the lock and sends any output it queued.
    template <class F>
    decltype(auto) withDevice(F&& f) {
        std::lock_guard lock(mutex_);
        OutputCollector collect{*this};
        return f(*device_);
    }
    // The same for the role the simulator plays; throws std::bad_cast for the other role.
    template <class F>
    decltype(auto) withModem(F&& f) {
        return withDevice([&](AtDeviceSimulator& d) -> decltype(auto) {
            return f(dynamic_cast<ModemSimulator&>(d));
        });
    }
    template <class F>
    decltype(auto) withTracker(F&& f) {
        return withDevice([&](AtDeviceSimulator& d) -> decltype(auto) {
            return f(dynamic_cast<TrackerModuleSimulator&>(d));
        });
    }

    // Closes the terminal: the program's open port fails from now on, as when a USB
    // adapter is pulled, and the stable path goes. Returns once the terminal is closed.
    void vanish();
    bool vanished() const { return vanished_; }
    // Plugs the device in again after vanish(): a new terminal behind the stable path, with
    // everything the device held (stored messages) kept. Returns once the terminal is open;
    // does nothing while the device is there.
    void reappear();
    // Whether the program holds the port open (known on Linux; otherwise always true).
    bool portOpen() const { return portOpen_; }
    // Number of times the program opened the port.
    int portOpenCount() const { return openCount_; }

  private:
    struct OutputCollector {
        PtySimulator& owner;
        ~OutputCollector() { owner.collectOutputLocked(); }
    };
    struct PendingOutput {
        Moment due;
        std::string bytes;
        bool unsolicited = false;
        std::size_t written = 0;
    };
    struct WrittenAnnouncement {
        std::string line;
        Moment written;
    };

    void openTerminal();
    void pointStableLink();
    void startPortWatch();
    void run();
    void waitForActivity(std::chrono::milliseconds timeout);
    void handlePortEvents();
    void handleProgramInput();
    // Feeds the bytes one at a time, so that each command line's answer gets its own delay;
    // returns the command lines they completed.
    std::vector<std::string> feedLocked(std::string_view bytes, Moment received);
    void writeDueOutput();
    // Writes what is due; returns the announcements written.
    std::vector<WrittenAnnouncement> writeDueOutputLocked();
    std::chrono::milliseconds timeUntilDueLocked() const;
    void forgetPendingLocked();
    void closeTerminal();
    // Queues the unsolicited output the device queued, due at once.
    void collectOutputLocked();
    void queueLocked(Moment due, std::string bytes, bool unsolicited = false);
    void wake();

    std::unique_ptr<AtDeviceSimulator> device_;
    std::mutex mutex_;
    std::condition_variable vanishedSignal_;
    std::deque<PendingOutput> pending_;
    ReplySchedule schedule_;
    TrafficWatcher watcher_;
    std::string path_;
    int master_ = -1;
    int slave_ = -1;
    int watch_ = -1;
    int wakePipe_[2] = {-1, -1};
    bool outputBlocked_ = false;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> vanishRequested_{false};
    std::atomic<bool> vanished_{false};
    std::atomic<bool> reappearRequested_{false};
    std::string stablePath_;
    std::atomic<bool> portOpen_{true};
    std::atomic<int> openCount_{0};
    std::thread thread_;
};

}  // namespace kv820::sim
