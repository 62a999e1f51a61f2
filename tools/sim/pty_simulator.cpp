#include "sim/pty_simulator.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
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
using Moment = Clock::time_point;
// How often time-driven device output (a boot loader's prompts) is looked at.
constexpr std::chrono::milliseconds TickPeriod{100};
// Output nobody reads is dropped beyond this, as a full receive buffer would.
constexpr std::size_t MaxPendingBytes = 64 * 1024;
constexpr std::chrono::milliseconds BlockedRetry{20};

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

// The "+CMTI" lines in unsolicited output, without their line ends.
std::vector<std::string> announcementLines(std::string_view bytes) {
    std::vector<std::string> lines;
    for (auto start = bytes.find("+CMTI"); start != std::string_view::npos;
         start = bytes.find("+CMTI", start + 1)) {
        const auto end = bytes.find_first_of("\r\n", start);
        lines.emplace_back(bytes.substr(start, end == std::string_view::npos ? end : end - start));
    }
    return lines;
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
    if (!stablePath_.empty()) {
        ::unlink(stablePath_.c_str());
    }
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
    char name[256];
    if (ptsname_r(master_, name, sizeof name) != 0) {
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

void PtySimulator::setStablePath(const std::string& link) {
    std::lock_guard lock(mutex_);
    stablePath_ = link;
    pointStableLink();
}

void PtySimulator::pointStableLink() {
    if (stablePath_.empty()) {
        return;
    }
    ::unlink(stablePath_.c_str());
    if (::symlink(path_.c_str(), stablePath_.c_str()) != 0) {
        fail("symlink");
    }
}

void PtySimulator::reappear() {
    std::unique_lock lock(mutex_);
    if (!vanishRequested_ && !vanished_) {
        return;  // it is there: a request kept for later would undo the next vanish at once
    }
    reappearRequested_ = true;
    wake();
    vanishedSignal_.wait(lock, [this] { return !vanished_.load() || !thread_.joinable(); });
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
    schedule_.setDefaultDelay(delay);
}

void PtySimulator::addReplyDelay(ReplyDelayRule rule) {
    std::lock_guard lock(mutex_);
    schedule_.addRule(std::move(rule));
}

void PtySimulator::setReplySeed(unsigned seed) {
    std::lock_guard lock(mutex_);
    schedule_.setSeed(seed);
}

void PtySimulator::setTrafficWatcher(TrafficWatcher watcher) {
    std::lock_guard lock(mutex_);
    watcher_ = std::move(watcher);
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

void PtySimulator::collectOutputLocked() {
    queueLocked(Clock::now(), device_->takeOutput(), true);
}

void PtySimulator::queueLocked(Moment due, std::string bytes, bool unsolicited) {
    if (bytes.empty()) {
        return;
    }
    pending_.push_back(PendingOutput{due, std::move(bytes), unsolicited});
    wake();
}

void PtySimulator::forgetPendingLocked() {
    pending_.clear();
    schedule_.forgetPending();
}

void PtySimulator::run() {
    while (!stopping_) {
        if (vanishRequested_ && !vanished_) {
            std::lock_guard lock(mutex_);
            closeTerminal();
            forgetPendingLocked();
            if (!stablePath_.empty()) {
                ::unlink(stablePath_.c_str());  // as udev removes the name of a pulled adapter
            }
            vanished_ = true;
            vanishedSignal_.notify_all();
        }
        if (reappearRequested_ && vanished_) {
            std::lock_guard lock(mutex_);
            openTerminal();
            pointStableLink();
            startPortWatch();
            device_->faults().reappear();
            device_->portClosed();
            reappearRequested_ = vanishRequested_ = vanished_ = false;
            vanishedSignal_.notify_all();
        }
        std::chrono::milliseconds timeout;
        {
            std::lock_guard lock(mutex_);
            timeout = timeUntilDueLocked();
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

std::chrono::milliseconds PtySimulator::timeUntilDueLocked() const {
    if (pending_.empty()) {
        return TickPeriod;
    }
    if (outputBlocked_) {
        return BlockedRetry;  // the program is not reading; do not spin
    }
    Moment first = pending_.front().due;
    for (const PendingOutput& output : pending_) {
        first = std::min(first, output.due);
    }
    const auto untilDue = std::chrono::ceil<std::chrono::milliseconds>(first - Clock::now());
    return std::clamp(untilDue, std::chrono::milliseconds(0), TickPeriod);
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
            forgetPendingLocked();
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
        const Moment received = Clock::now();
        // The open that preceded these bytes may have been noticed after the last look.
        handlePortEvents();
        std::vector<std::string> lines;
        TrafficWatcher watcher;
        {
            std::lock_guard lock(mutex_);
            lines =
                feedLocked(std::string_view(buffer, static_cast<std::size_t>(length)), received);
            watcher = watcher_;
        }
        if (watcher.commandReceived) {
            for (const std::string& line : lines) {
                watcher.commandReceived(line, received);
            }
        }
    }
}

std::vector<std::string> PtySimulator::feedLocked(std::string_view bytes, Moment received) {
    std::vector<std::string> lines;
    for (char byte : bytes) {
        collectOutputLocked();  // what was queued before belongs to no command
        std::string output = device_->feed(std::string_view(&byte, 1));
        if (auto command = device_->takeReceivedCommand()) {
            if (!output.empty()) {
                const auto due = schedule_.scheduleCommand(command->line, received);
                queueLocked(due.echo, output.substr(0, command->answerStart));
                queueLocked(due.answer, output.substr(command->answerStart));
            }
            lines.push_back(std::move(command->line));
        } else if (!output.empty()) {
            queueLocked(schedule_.scheduleAnswer(received), std::move(output));
        }
    }
    return lines;
}

void PtySimulator::writeDueOutput() {
    std::vector<WrittenAnnouncement> announcements;
    TrafficWatcher watcher;
    {
        std::lock_guard lock(mutex_);
        announcements = writeDueOutputLocked();
        watcher = watcher_;
    }
    if (watcher.announcementWritten) {
        for (const WrittenAnnouncement& announcement : announcements) {
            watcher.announcementWritten(announcement.line, announcement.written);
        }
    }
}

std::vector<PtySimulator::WrittenAnnouncement> PtySimulator::writeDueOutputLocked() {
    std::vector<WrittenAnnouncement> announcements;
    const auto now = Clock::now();
    outputBlocked_ = false;
    for (auto output = pending_.begin(); output != pending_.end();) {
        if (output->due > now) {
            ++output;  // an answer held back; unsolicited output behind it may go
            continue;
        }
        if (master_ < 0 || !portOpen_) {
            output = pending_.erase(output);  // nobody listens: the bytes are lost, as on a line
            continue;
        }
        const std::string_view rest = std::string_view(output->bytes).substr(output->written);
        const ssize_t written = ::write(master_, rest.data(), rest.size());
        if (written < 0) {
            outputBlocked_ = true;  // the terminal's buffer is full; try again later
            break;
        }
        output->written += static_cast<std::size_t>(written);
        if (output->written < output->bytes.size()) {
            // Its rest goes out before anything else: no other output splits it.
            PendingOutput started = std::move(*output);
            pending_.erase(output);
            pending_.push_front(std::move(started));
            outputBlocked_ = true;
            break;
        }
        if (output->unsolicited) {
            for (std::string& line : announcementLines(output->bytes)) {
                announcements.push_back({std::move(line), Clock::now()});
            }
        }
        output = pending_.erase(output);
    }
    std::size_t total = 0;
    for (const PendingOutput& output : pending_) {
        total += output.bytes.size();
    }
    while (total > MaxPendingBytes && !pending_.empty()) {
        total -= pending_.front().bytes.size();
        pending_.pop_front();
    }
    return announcements;
}

void PtySimulator::closeTerminal() {
    closeIfOpen(watch_);
    closeIfOpen(slave_);
    closeIfOpen(master_);
}

}  // namespace kv820::sim
