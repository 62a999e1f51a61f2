#include "sim/pty_simulator.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>
#include <vector>

#ifdef __linux__
#include <sys/inotify.h>
#endif

namespace kv820::sim {
namespace {

using Clock = std::chrono::steady_clock;
// How often time-driven device output (a boot loader's prompts) is looked at.
constexpr std::chrono::milliseconds kTickPeriod{100};
// Output nobody reads is dropped beyond this, as a full receive buffer would.
constexpr std::size_t kMaxPendingBytes = 64 * 1024;
constexpr std::chrono::milliseconds kBlockedRetry{20};

[[noreturn]] void fail(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

void makeRaw(int fd) {
    termios settings{};
    if (tcgetattr(fd, &settings) != 0) {
        return;
    }
    settings.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF);
    settings.c_oflag &= ~OPOST;
    settings.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    settings.c_cflag &= ~(CSIZE | PARENB);
    settings.c_cflag |= CS8 | CREAD | CLOCAL;
    cfsetispeed(&settings, B115200);
    cfsetospeed(&settings, B115200);
    tcsetattr(fd, TCSANOW, &settings);
}

void setNonBlocking(int fd) {
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
}

void closeIfOpen(int& fd) {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

}  // namespace

PtySimulator::PtySimulator(std::unique_ptr<AtDeviceSimulator> device) : device_(std::move(device)) {
    if (pipe(wakePipe_) != 0) {
        fail("pipe");
    }
    setNonBlocking(wakePipe_[0]);
    setNonBlocking(wakePipe_[1]);
    openTerminal();
    startPortWatch();
    thread_ = std::thread([this] { run(); });
}

PtySimulator::~PtySimulator() {
    stopping_ = true;
    wake();
    if (thread_.joinable()) {
        thread_.join();
    }
    closeTerminal();
    closeIfOpen(wakePipe_[0]);
    closeIfOpen(wakePipe_[1]);
}

std::unique_ptr<PtySimulator> PtySimulator::modem(std::size_t capacity) {
    return std::make_unique<PtySimulator>(std::make_unique<ModemSimulator>(capacity));
}

std::unique_ptr<PtySimulator> PtySimulator::tracker(TrackerModuleConfig config) {
    return std::make_unique<PtySimulator>(
        std::make_unique<TrackerModuleSimulator>(std::move(config)));
}

void PtySimulator::openTerminal() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0) {
        fail("posix_openpt");
    }
    if (grantpt(master_) != 0 || unlockpt(master_) != 0) {
        fail("grantpt/unlockpt");
    }
    const char* name = ptsname(master_);  // called once, before any other thread runs
    if (!name) {
        fail("ptsname");
    }
    path_ = name;
    // Our own descriptor of the terminal keeps it alive between the program's opens, so
    // the master never sees a hang-up when the program closes its port.
    slave_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY);
    if (slave_ < 0) {
        fail("open pseudo-terminal");
    }
    makeRaw(slave_);
    setNonBlocking(master_);
}

void PtySimulator::startPortWatch() {
#ifdef __linux__
    // Opening and closing a device node are file events: they tell when the program holds
    // the port, so that nothing is sent into a closed port and a session ends on close.
    watch_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watch_ >= 0 && inotify_add_watch(watch_, path_.c_str(), IN_OPEN | IN_CLOSE) < 0) {
        closeIfOpen(watch_);
    }
    portOpen_ = watch_ < 0;
#endif
}

void PtySimulator::setReplyDelay(std::chrono::milliseconds delay) {
    std::lock_guard lock(mutex_);
    delay_ = delay;
}

void PtySimulator::vanish() {
    std::unique_lock lock(mutex_);
    device_->faults().vanish();
    vanishRequested_ = true;
    wake();
    vanishedSignal_.wait(lock, [this] { return vanished_.load() || !thread_.joinable(); });
}

void PtySimulator::wake() {
    const char byte = 1;
    [[maybe_unused]] auto written = ::write(wakePipe_[1], &byte, 1);
}

void PtySimulator::collectOutputLocked(std::string bytes) {
    bytes += device_->takeOutput();
    if (bytes.empty()) {
        return;
    }
    pending_.push_back(PendingOutput{Clock::now() + delay_, std::move(bytes)});
    wake();
}

void PtySimulator::run() {
    while (!stopping_) {
        if (vanishRequested_ && !vanished_) {
            std::lock_guard lock(mutex_);
            closeTerminal();
            pending_.clear();
            vanished_ = true;
            vanishedSignal_.notify_all();
        }
        std::chrono::milliseconds timeout = kTickPeriod;
        {
            std::lock_guard lock(mutex_);
            if (!pending_.empty()) {
                const auto untilDue = std::chrono::duration_cast<std::chrono::milliseconds>(
                    pending_.front().due - Clock::now());
                timeout = std::max(std::chrono::milliseconds(0), std::min(timeout, untilDue));
                if (outputBlocked_) {
                    timeout = kBlockedRetry;  // the program is not reading; do not spin
                }
            }
        }
        waitForActivity(timeout);
        handlePortEvents();
        handleProgramInput();
        {
            std::lock_guard lock(mutex_);
            device_->tick(Clock::now());
            collectOutputLocked();
        }
        writeDueOutput();
    }
}

void PtySimulator::waitForActivity(std::chrono::milliseconds timeout) {
    std::vector<pollfd> fds{{wakePipe_[0], POLLIN, 0}};
    if (master_ >= 0) {
        fds.push_back({master_, POLLIN, 0});
    }
    if (watch_ >= 0) {
        fds.push_back({watch_, POLLIN, 0});
    }
    ::poll(fds.data(), fds.size(), static_cast<int>(timeout.count()));
    char drain[64];
    while (::read(wakePipe_[0], drain, sizeof drain) > 0) {
    }
}

void PtySimulator::handlePortEvents() {
#ifdef __linux__
    if (watch_ < 0) {
        return;
    }
    alignas(inotify_event) char buffer[4096];
    ssize_t length;
    while ((length = ::read(watch_, buffer, sizeof buffer)) > 0) {
        for (char* at = buffer; at < buffer + length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            std::lock_guard lock(mutex_);
            // Whatever was still waiting belongs to the previous opening of the port.
            pending_.clear();
            if (event->mask & IN_OPEN) {
                ++openCount_;
                portOpen_ = true;
                device_->portOpened();
            } else if (event->mask & IN_CLOSE) {
                portOpen_ = false;
                device_->portClosed();
            }
            at += sizeof(inotify_event) + event->len;
        }
    }
#endif
}

void PtySimulator::handleProgramInput() {
    if (master_ < 0) {
        return;
    }
    char buffer[4096];
    ssize_t length;
    while ((length = ::read(master_, buffer, sizeof buffer)) > 0) {
        // The open that preceded these bytes may have been noticed after the last look.
        handlePortEvents();
        std::lock_guard lock(mutex_);
        collectOutputLocked(
            device_->feed(std::string_view(buffer, static_cast<std::size_t>(length))));
    }
}

void PtySimulator::writeDueOutput() {
    std::lock_guard lock(mutex_);
    const auto now = Clock::now();
    outputBlocked_ = false;
    while (!pending_.empty() && pending_.front().due <= now) {
        std::string& bytes = pending_.front().bytes;
        if (master_ < 0 || !portOpen_) {
            pending_.pop_front();  // nobody listens: the bytes are lost, as on a real line
            continue;
        }
        const ssize_t written = ::write(master_, bytes.data(), bytes.size());
        if (written < 0) {
            outputBlocked_ = true;  // the terminal's buffer is full; try again later
            break;
        }
        bytes.erase(0, static_cast<std::size_t>(written));
        if (!bytes.empty()) {
            outputBlocked_ = true;
            break;
        }
        pending_.pop_front();
    }
    std::size_t total = 0;
    for (const PendingOutput& output : pending_) {
        total += output.bytes.size();
    }
    while (total > kMaxPendingBytes && !pending_.empty()) {
        total -= pending_.front().bytes.size();
        pending_.pop_front();
    }
}

void PtySimulator::closeTerminal() {
    closeIfOpen(watch_);
    closeIfOpen(slave_);
    closeIfOpen(master_);
}

}  // namespace kv820::sim
