#include "sim/pty_simulator.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kv820::sim {
namespace {

using namespace std::chrono_literals;

// The program's side of the line, with nothing but POSIX calls.
class PortFromProgram {
  public:
    explicit PortFromProgram(const std::string& path)
        : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY)) {
        termios settings{};
        if (fd_ >= 0 && tcgetattr(fd_, &settings) == 0) {
            cfmakeraw(&settings);
            tcsetattr(fd_, TCSANOW, &settings);
        }
    }
    ~PortFromProgram() { close(); }
    bool isOpen() const { return fd_ >= 0; }
    void close() {
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    bool write(const std::string& bytes) {
        return ::write(fd_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }
    // Reads until `expected` bytes came or `timeout` passed.
    std::string read(std::size_t expected, std::chrono::milliseconds timeout = 2000ms) {
        std::string text;
        const auto end = std::chrono::steady_clock::now() + timeout;
        while (text.size() < expected && std::chrono::steady_clock::now() < end) {
            pollfd fd{fd_, POLLIN, 0};
            if (::poll(&fd, 1, 20) <= 0) {
                continue;
            }
            if (fd.revents & (POLLERR | POLLHUP | POLLNVAL)) {
                failed_ = true;
                break;
            }
            char buffer[256];
            const ssize_t length = ::read(fd_, buffer, sizeof buffer);
            if (length <= 0) {
                failed_ = true;
                break;
            }
            text.append(buffer, static_cast<std::size_t>(length));
        }
        return text;
    }
    bool failed() const { return failed_; }

  private:
    int fd_;
    bool failed_ = false;
};

template <class Condition>
bool eventually(Condition condition) {
    const auto end = std::chrono::steady_clock::now() + 2s;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

#ifdef __linux__
TEST(PtySimulator, OutputSentWhileThePortWasClosedIsNotReadLater) {
    auto simulator = PtySimulator::modem();
    {
        PortFromProgram port(simulator->devicePath());
        port.write("at+cnmi=1,1\r");
        port.read(18);
    }
    ASSERT_TRUE(eventually([&] { return !simulator->portOpen(); }));
    simulator->withModem([](ModemSimulator& m) { return m.injectSms("+1", "lost"); });
    std::this_thread::sleep_for(50ms);
    PortFromProgram port(simulator->devicePath());
    port.write("at\r");
    EXPECT_EQ(port.read(9), "at\r\r\nOK\r\n");
}
#endif

}  // namespace
}  // namespace kv820::sim
